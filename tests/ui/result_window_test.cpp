// The result window's views, menus and closing.
#include "ui/file_dialogs.h"
#include "ui/result_window.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

using namespace kw;

class ResultWindowTest : public QObject
{
    Q_OBJECT

private:
    static QStringList menuTexts(const QMenu *menu)
    {
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts.append(action->isSeparator()
                    ? QStringLiteral("-")
                    : action->text() + QLatin1Char('|') + action->shortcut().toString(QKeySequence::PortableText));
        return texts;
    }

private slots:
    void menusHoldEveryEntryInOrder()
    {
        ui::TSuchergebnis window;
        // the entries of old, unchanged and in their order, "Liste Schließen" last; the
        // replacement by links beside the deletion, the other additions before the closing
        // separator
        QStringList entries = menuTexts(window.PopupMenu1);
        QCOMPARE(entries.takeAt(10), QString::fromUtf8("Durch &Verknüpfung ersetzen…|"));
        QCOMPARE(entries.mid(10, 4),
            QStringList(
                {"-", "&Weitere Markierungen|", QString::fromUtf8("Ordner ö&ffnen|"), "Aus Liste &entfernen|"}));
        entries.remove(10, 4);
        QCOMPARE(entries,
            QStringList({"&Liste Formatieren|Ctrl+L", "-", "Liste &Speichern|Ctrl+S", "Liste &Drucken|Ctrl+D", "-",
                "&Duplikate Markieren\t" + QKeySequence(Qt::CTRL | Qt::Key_D).toString(QKeySequence::NativeText) + "|",
                "Markierungs&maske|Ctrl+M", "&Alles Markieren|Ctrl+A", "-", QString::fromUtf8("Dateien &Löschen|Del"),
                "-", QString::fromUtf8("Liste &Schließen|Alt+F4")}));
        // Each added entry has a key that no other entry of its menu uses (the old entries
        // keep theirs, "Liste &Drucken" and "&Duplikate Markieren" among them).
        const auto keyOf = [](const QAction *action) {
            const qsizetype amp = action->text().indexOf(QLatin1Char('&'));
            return amp < 0 ? QChar() : action->text().at(amp + 1).toLower();
        };
        const QList<QAction *> added = {window.DurchVerknuepfungErsetzen1, window.WeitereMarkierungen1->menuAction(),
            window.OrdnerOeffnen1, window.AusListeEntfernen1};
        for (const QMenu *menu : std::vector<const QMenu *> {window.PopupMenu1, window.WeitereMarkierungen1}) {
            for (const QAction *action : menu->actions()) {
                if (action->isSeparator() || (menu == window.PopupMenu1 && !added.contains(action)))
                    continue;
                QVERIFY2(!keyOf(action).isNull(), qPrintable(action->text()));
                for (const QAction *other : menu->actions())
                    QVERIFY2(other == action || keyOf(other) != keyOf(action), qPrintable(action->text()));
            }
        }
        QCOMPARE(menuTexts(window.WeitereMarkierungen1),
            QStringList({QString::fromUtf8("Kopien in &Ordner … behalten, die anderen markieren|"),
                "Alle in &diesem Ordner markieren|", "-", "&Neueste behalten|", QString::fromUtf8("Ä&lteste behalten|"),
                "-", "Markierung &umkehren|", "&Keine markieren|"}));
        QCOMPARE(menuTexts(window.PopupMenu2),
            QStringList({"Einfache &Liste|Ctrl+L", "-", "Liste &Speichern|Ctrl+S", "Liste &Drucken|Ctrl+D", "-",
                QString::fromUtf8("Liste &Schließen|Alt+F4")}));
        QVERIFY(!window.DateienLschen1->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("Suchergebnis"));
        QCOMPARE(window.size(), QSize(554, 289));
        QCOMPARE(window.ListBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded); // long paths can be read
    }

    // The formatted list is black, as printed: with a dark colour scheme it needs its paper.
    void theFormattedListIsOnWhitePaperUnderADarkScheme()
    {
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        {
            ui::TSuchergebnis window;
            window.setLines({"/a", "/b"});
            window.ListeFormatieren1Click();
            window.show();
            QVERIFY(window.formattedViewShown());
            const QImage page = window.RichEdit1->viewport()->grab().toImage();
            QCOMPARE(page.pixelColor(page.width() - 3, page.height() - 3), QColor(Qt::white));
            bool blackText = false;
            for (int y = 0; y < page.height() && !blackText; ++y)
                for (int x = 0; x < page.width() && !blackText; ++x)
                    blackText = page.pixelColor(x, y).lightness() < 60;
            QVERIFY(blackText);
            // The simple list keeps the scheme's colours.
            QCOMPARE(window.ListBox1->palette().color(QPalette::Base), QColor(0x18, 0x18, 0x18));
        }
        QApplication::setPalette(before);
    }

    void ctrlDInTheSimpleViewPrintsAndMarksNothing()
    {
        ui::TSuchergebnis window;
        window.setLines({"/a", "/b"});
        window.show();
        window.ListBox1->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int printDialogs = 0;
        ui::setPrintInterceptor([&](QPrinter &) {
            ++printDialogs;
            return false;
        });
        QSignalSpy print(window.ListeDrucken2, &QAction::triggered);
        QSignalSpy mark(window.DuplikateMarkieren1, &QAction::triggered);
        QTest::keyClick(window.ListBox1, Qt::Key_D, Qt::ControlModifier);
        ui::setPrintInterceptor(nullptr);
        QCOMPARE(print.count(), 1);
        QCOMPARE(printDialogs, 1);
        QCOMPARE(mark.count(), 0);

        QVERIFY(window.ListBox1->selectedItems().isEmpty());
    }

    void formattedListHasItsParagraphsAndAttributes()
    {
        ui::TSuchergebnis window;
        window.setLines({"/a/x.txt", "/b/x.txt", "", "/c/y.txt", "/d/y.txt"});
        window.ListeFormatieren1Click();
        QVERIFY(window.formattedViewShown());
        const QTextDocument *document = window.RichEdit1->document();
        QCOMPARE(document->blockCount(), 3 + 5 + 4);
        const QTextBlock heading = document->firstBlock();
        QCOMPARE(heading.text(), QStringLiteral("Doppelte Dateien"));
        QTextCursor cursor(heading);
        cursor.movePosition(QTextCursor::EndOfBlock);
        QVERIFY(cursor.charFormat().font().bold());
        QVERIFY(cursor.charFormat().font().underline());
        QCOMPARE(cursor.charFormat().fontPointSize(), 18.0);
        QVERIFY(heading.next().text().startsWith(QLatin1Char('(')));
        QVERIFY(heading.next().text().contains(QStringLiteral(" um ")));
        QCOMPARE(document->findBlockByNumber(3).text(), QStringLiteral("/a/x.txt"));
        QCOMPARE(document->lastBlock().text(), QStringLiteral("e-Mail: kopienwacht@example.org"));
        window.listKind = search::ListKind::FileList;
        window.FListe();
        QCOMPARE(window.RichEdit1->document()->firstBlock().text(), QStringLiteral("Dateiliste"));
    }

    void switchingViewsKeepsTheMarks()
    {
        ui::TSuchergebnis window;
        window.setLines({"/a", "/b", "", "/c", "/d"});
        window.ListBox1->item(1)->setSelected(true);
        window.ListBox1->item(4)->setSelected(true);
        window.ListeFormatieren1Click();
        window.ZurckzuListe1Click();
        QVERIFY(!window.formattedViewShown());
        QVERIFY(window.ListBox1->item(1)->isSelected());
        QVERIFY(window.ListBox1->item(4)->isSelected());
        QCOMPARE(window.ListBox1->selectedItems().size(), 2);
    }

    void closingInTheFormattedViewReopensInTheSimpleView()
    {
        ui::TSuchergebnis window;
        window.setLines({"/a", "/b"});
        window.show();
        window.ListeFormatieren1Click();
        window.SaveDialog1.title = "Liste der gelöschten Duplikate Speichern";
        window.Schlieen1Click();
        QVERIFY(!window.isVisible());
        QVERIFY(window.SaveDialog1.title.empty());
        window.show();
        QVERIFY(!window.formattedViewShown());
        QCOMPARE(window.ListBox1->count(), 2);
    }
};

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
