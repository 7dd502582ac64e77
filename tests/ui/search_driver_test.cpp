// The search driven through the main window's Start button, on real trees.
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "search/thread_start.h"
#include "shell/window_placement.h"
#include "support/temp_tree.h"
#include "ui/folder_view.h"
#include "ui/qt_text.h"
#include "ui/result_width.h"
#include "ui/search_animation.h"
#include "ui/search_run.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <new>
#include <optional>

using namespace kw;

namespace
{

// What the progress dialog drew: its caption, its status line and whether the file
// animation was up, at every paint of the status line.
class PaintLog final : public QObject
{
public:
    explicit PaintLog(ui::TMeldung &dialog) : m_dialog(dialog) { dialog.Label1->installEventFilter(this); }
    bool seen(const QString &caption, const QString &status) const
    {
        return std::find(m_paints.begin(), m_paints.end(), Paint {caption, status, true}) != m_paints.end()
            || std::find(m_paints.begin(), m_paints.end(), Paint {caption, status, false}) != m_paints.end();
    }
    bool seenIn(const QString &caption) const
    {
        return std::any_of(m_paints.begin(), m_paints.end(), [&](const Paint &p) { return p.caption == caption; });
    }
    bool animationSeenIn(const QString &caption) const
    {
        return std::any_of(
            m_paints.begin(), m_paints.end(), [&](const Paint &p) { return p.caption == caption && p.fileAnimation; });
    }
    QString all() const
    {
        QStringList lines;
        for (const Paint &p : m_paints)
            lines.append(p.caption + QStringLiteral(": ") + p.status);
        return lines.join(QStringLiteral("; "));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_paints.push_back(
                {m_dialog.windowTitle(), m_dialog.Label1->text(), m_dialog.Animate2->isVisibleTo(&m_dialog)});
        return QObject::eventFilter(watched, event);
    }

private:
    struct Paint {
        QString caption;
        QString status;
        bool fileAnimation = false;
        friend bool operator==(const Paint &, const Paint &) = default;
    };
    ui::TMeldung &m_dialog;
    std::vector<Paint> m_paints;
};

} // namespace

class SearchDriverTest : public QObject
{
    Q_OBJECT

private:
    static QStringList listed(const ui::TSuchergebnis &window)
    {
        QStringList lines;
        for (int i = 0; i < window.ListBox1->count(); ++i)
            lines.append(window.ListBox1->item(i)->text());
        return lines;
    }
    static QString path(const test::TempTree &tree, const char *relative)
    {
        return ui::displayPath(tree.path(relative));
    }

private slots:
    void searchFillsTheListAndShowsTheWindow()
    {
        test::TempTree tree;
        tree.file("a/eins.txt", "gleich");
        tree.file("b/zwei.txt", "gleich");
        tree.file("b/drei.txt", "andere");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true);
        test::MessageLog log;
        QTest::mouseClick(w.main->Button1, Qt::LeftButton);

        QVERIFY(log.messages.empty());
        QVERIFY(w.suchergebnis->isVisible());
        QCOMPARE(w.suchergebnis->windowTitle(), QStringLiteral("Suchergebnis (2 aus 3 Dateien)"));
        QCOMPARE(listed(*w.suchergebnis), QStringList({path(tree, "a/eins.txt"), path(tree, "b/zwei.txt")}));
        QVERIFY(!w.meldung->isVisible());
        QCOMPARE(w.meldung->windowTitle(), QStringLiteral("Dateien Vergleichen"));
        QCOMPARE(w.meldung->Label1->text(), QStringLiteral("3 von 3 Dateien"));
        QVERIFY(!w.suchergebnis->DateienLschen1->isEnabled());
        // the view followed the search, and is back on the folder the user chose
        QCOMPARE(w.main->startFolder(), ui::displayPath(tree.root()));
        QVERIFY(w.suchergebnis->width() >= 554);
    }

    void searchWithoutDuplicatesSaysSoAndShowsNoWindow()
    {
        test::TempTree tree;
        tree.file("a.txt", "eins");
        tree.file("b.txt", "zwei!");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        test::MessageLog log;
        w.main->Button1Click();
        QCOMPARE(log.messages.size(), std::size_t {1});
        QCOMPARE(log.messages[0].first, ui::MessageKind::Information);
        QCOMPARE(log.messages[0].second, QStringLiteral("Es wurden keine Duplikate gefunden."));
        QVERIFY(!w.suchergebnis->isVisible());
        QVERIFY(w.suchergebnis->ListBox1->count() == 0);
    }

    void aVisibleResultWindowIsHiddenUntilTheComparisonFindsSomething()
    {
        test::TempTree tree;
        tree.file("a.txt", "gleich");
        tree.file("b.txt", "gleich");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        test::MessageLog log;
        w.main->Button1Click();
        QVERIFY(w.suchergebnis->isVisible());
        tree.file("b.txt", "anders");
        w.main->Button1Click();
        QVERIFY(!w.suchergebnis->isVisible());
        QCOMPARE(log.messages.size(), std::size_t {1});
    }

    void accessErrorWaitsForTheUserAndInputIsBlockedMeanwhile()
    {
        test::TempTree tree;
        tree.file("a.txt", "gleich");
        tree.file("b.txt", "gleich");
        tree.file("gesperrt.txt", "gleich");
        std::optional<fs::ScopedOpenFault> fault;
        fault.emplace([](std::string_view p) { return p.ends_with("gesperrt.txt"); });
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        test::MessageLog log;
        bool searchingWhileShown = false;
        log.whileShown = [&] {
            searchingWhileShown = w.main->searching();
            // a user's click on the main window must not reach it during the search
            QTest::mouseClick(w.main->CheckBox1, Qt::LeftButton);
            QTest::keyClick(w.main->Edit1, Qt::Key_X);
        };
        w.main->Button1Click();
        fault.reset();

        QVERIFY(searchingWhileShown);
        QCOMPARE(log.messages.size(), std::size_t {1});
        QCOMPARE(log.messages[0].first, ui::MessageKind::Error);
        QCOMPARE(log.messages[0].second,
            QStringLiteral("Zugriff auf '%1' wurde verweigert!").arg(path(tree, "gesperrt.txt")));
        QVERIFY(!w.main->CheckBox1->isChecked());
        QCOMPARE(w.main->Edit1->currentText(), QStringLiteral("*.*"));
        QCOMPARE(w.suchergebnis->windowTitle(), QStringLiteral("Suchergebnis (2 aus 3 Dateien) / 1 Fehler!"));
    }

    void filterHistoryMovesTheUsedFilterToTheFront_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("known") << QStringList {"*.*", "*.txt", "*.jpg"} << "*.txt"
                               << QStringList {"*.txt", "*.*", "*.jpg"};
        QTest::newRow("case counts") << QStringList {"*.*", "*.txt"} << "*.TXT"
                                     << QStringList {"*.TXT", "*.*", "*.txt"};
        QTest::newRow("new") << QStringList {"*.*", "*.txt"} << "*.doc" << QStringList {"*.doc", "*.*", "*.txt"};
    }

    void filterHistoryMovesTheUsedFilterToTheFront()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        test::TempTree tree;
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        std::vector<std::string> items;
        for (const QString &item : history)
            items.push_back(ui::utf8(item));
        w.main->setFilterHistory(items, filter);
        test::MessageLog log;
        w.main->Button1Click();
        QStringList after;
        for (int i = 0; i < w.main->Edit1->count(); ++i)
            after.append(w.main->Edit1->itemText(i));
        QCOMPARE(after, expected);
        QCOMPARE(w.main->Edit1->currentText(), filter);
    }

    void progressDialogShowsTheFileAnimationAfterTheFolderPhase()
    {
        test::TempTree tree;
        tree.file("a.txt", "eins");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        test::MessageLog log;
        w.main->Button1Click();
        QVERIFY(w.meldung->Animate2->isVisibleTo(w.meldung.get()));
        QVERIFY(!w.meldung->Animate1->isVisibleTo(w.meldung.get()));
        // a second search shows the folder animation again before collecting folders
        w.meldung->showFolderSearch();
        QVERIFY(w.meldung->Animate1->playing());
        QVERIFY(!w.meldung->Animate2->playing());
        QCOMPARE(w.meldung->size(), QSize(249, 93));
    }

    // However quickly a phase's work is done, its caption and its last count are drawn: the
    // files are listed while the folders are walked, and their phase takes a moment.
    void everyPhaseIsDrawnWithItsCaptionAndLastCount()
    {
        test::TempTree tree;
        for (int i = 0; i < 40; ++i)
            tree.file("d" + std::to_string(i % 8) + "/f" + std::to_string(i), std::to_string(i % 5));
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true);
        PaintLog painted(*w.meldung);
        test::MessageLog log;
        w.main->Button1Click();
        QVERIFY(painted.seen(QStringLiteral("Suche Ordner"), QStringLiteral("9 Ordner gefunden")));
        QVERIFY2(painted.seenIn(QStringLiteral("Suche Dateien")), qPrintable(painted.all()));
        QVERIFY(painted.seen(QStringLiteral("Dateien Vergleichen"), QStringLiteral("40 von 40 Dateien")));
        QVERIFY(painted.animationSeenIn(QStringLiteral("Suche Dateien")));
    }

    void aSearchThatBreaksOffShowsWhatWasComparedAndSaysWhyOnce()
    {
        test::TempTree tree;
        tree.file("a/eins.txt", "gleich");
        tree.file("b/zwei.txt", "gleich");
        tree.file("a/gross.bin", std::string(5000, 'g'));
        tree.file("b/gross.bin", std::string(5000, 'g'));
        search::SearchHooks hooks;
        hooks.afterLastBlock = [](const std::string &file) {
            if (file.ends_with("/gross.bin"))
                throw std::bad_alloc();
        };
        ui::SearchRun::testHooks = &hooks;
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true);
        test::MessageLog log;
        w.main->Button1Click();
        ui::SearchRun::testHooks = nullptr;

        QCOMPARE(listed(*w.suchergebnis), QStringList({path(tree, "a/eins.txt"), path(tree, "b/zwei.txt")}));
        QVERIFY(!w.meldung->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // The specified box while the group fails, then the reason once after the result.
        QCOMPARE(log.messages.size(), std::size_t {2});
        QVERIFY(log.messages[0].second.startsWith(QStringLiteral("Unerwarteter Fehler [344]")));
        QCOMPARE(log.messages[1].first, ui::MessageKind::Error);
        QCOMPARE(log.messages[1].second,
            QStringLiteral("Die Suche brach ab: nicht genug Arbeitsspeicher.\nDie Liste enthält nur, was bis dahin "
                           "verglichen wurde."));
    }

    void withoutAThreadToBeHadTheSearchRunsOnTheWindowThread()
    {
        test::TempTree tree;
        tree.file("a/eins.txt", "gleich");
        tree.file("b/zwei.txt", "gleich");
        tree.file("b/gesperrt.txt", "gleich");
        const fs::ScopedOpenFault denied([](std::string_view file) { return file.ends_with("/gesperrt.txt"); });
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true);
        test::MessageLog log;
        {
            const search::ScopedThreadStartFault noThreads(1);
            w.main->Button1Click();
        }
        QCOMPARE(listed(*w.suchergebnis), QStringList({path(tree, "a/eins.txt"), path(tree, "b/zwei.txt")}));
        QCOMPARE(w.suchergebnis->windowTitle(), QStringLiteral("Suchergebnis (2 aus 3 Dateien) / 1 Fehler!"));
        // The message of the search was shown, not lost to a wait on the window thread itself.
        QCOMPARE(log.messages.size(), std::size_t {1});
        QCOMPARE(log.messages[0].second,
            QStringLiteral("Zugriff auf '%1' wurde verweigert!").arg(path(tree, "b/gesperrt.txt")));
        QCOMPARE(w.meldung->windowTitle(), QStringLiteral("Dateien Vergleichen"));
    }

    // A path in a script the font lacks is drawn from a fallback font and shaped, wider
    // than its characters one by one: the width must still be that of the widest path.
    void theResultWidthFitsAPathThatIsWiderShapedThanItsCharacters()
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(15);
        const QFontMetrics metrics(font);
        const QString tamil = QString::fromUtf8("/t/\u0bb8\u0bcd\u0bb0\u0bc0").repeated(20);
        int characters = 0;
        for (const QChar c : tamil)
            characters += metrics.horizontalAdvance(c) + 1;
        const int shaped = metrics.horizontalAdvance(tamil);
        if (shaped <= characters)
            QSKIP("a font for Tamil is installed: its text is no wider than its characters");
        // A longer path whose width lies between the two, so that it is measured first.
        const QString latin
            = QStringLiteral("/") + QString((characters + shaped) / 2 / metrics.horizontalAdvance(u'a'), u'a');
        QVERIFY(latin.size() > tamil.size());
        QVERIFY(metrics.horizontalAdvance(latin) > characters && metrics.horizontalAdvance(latin) < shaped);
        QCOMPARE(
            ui::resultWidthFor({latin, tamil}, metrics, 96), shell::Tweite(shell::kInitialResultWidth, shaped, 96));
    }
};

QTEST_MAIN(SearchDriverTest)
#include "search_driver_test.moc"
