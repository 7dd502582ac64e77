// Saving, printing and reopening lists, with the dialogs answered by the test.
#include "fs/file_access.h"
#include "support/temp_tree.h"
#include "ui/file_dialogs.h"
#include "ui/qt_text.h"
#include "ui_test_support.h"

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QTextEdit>
#include <QtTest>

using namespace kw;

namespace
{

// Today's date stamp under the German locale the tests run with: 08-12-26.
QString stamp()
{
    return QDate::currentDate().toString(QStringLiteral("dd-MM-yy"));
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ListsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ui::setSaveInterceptor(nullptr);
        ui::setOpenInterceptor(nullptr);
        ui::setPrintInterceptor(nullptr);
    }

    void plainListIsSavedWithCrLfUnderItsProposedName()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines({"/a/x.txt", "/b/x.txt", "", "/c/y.txt", "/d/y.txt"});
        std::vector<ui::SaveRequest> asked;
        ui::setSaveInterceptor([&](const ui::SaveRequest &request) {
            asked.push_back(request);
            return ui::SaveAnswer {ui::displayPath(tree.path("ordner/liste.txt")), 1};
        });
        tree.dir("ordner");
        window.Speichern2Click();
        QCOMPARE(asked.size(), std::size_t {1});
        QCOMPARE(asked[0].title, QStringLiteral("Einfache Liste doppelter Dateien Speichern"));
        QCOMPARE(asked[0].fileName, QStringLiteral("Duplikate(%1).txt").arg(stamp()));
        QCOMPARE(asked[0].filterIndex, 1);
        QCOMPARE(asked[0].defaultSuffix, QStringLiteral("txt"));
        QCOMPARE(test::readFile(tree.path("ordner/liste.txt")),
            std::string("/a/x.txt\r\n/b/x.txt\r\n\r\n/c/y.txt\r\n/d/y.txt\r\n"));
        // the next save opens where the last one went
        window.Speichern2Click();
        QCOMPARE(asked[1].folder, ui::displayPath(tree.path("ordner")));
    }

    void fileThatCannotBeCreatedIsReported()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines({"/a", "/b"});
        const QString target = ui::displayPath(tree.path("fehlt/liste.rtf"));
        ui::setSaveInterceptor([&](const ui::SaveRequest &) { return ui::SaveAnswer {target, 2}; });
        test::MessageLog log;
        window.ListeFormatieren1Click();
        window.Speichern1Click();
        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].text, QStringLiteral("Datei %1 kann nicht erstellt werden").arg(target));
        QVERIFY(window.formattedViewShown());
        QCOMPARE(window.lines().size(), std::size_t {2});
    }

    void deletionLogIsProposedUntilTheListIsFormattedAgain()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setTrash(std::make_unique<fs::FreedesktopTrash>(tree.path("Trash")));
        window.setLines({tree.file("a", "1"), tree.file("b", "1")});
        window.DuplikateMarkieren1Click();
        {
            test::MessageLog yes(ui::MessageButton::Yes);
            window.DateienLschen1Click();
        }
        QVERIFY(window.formattedViewShown());
        std::vector<ui::SaveRequest> asked;
        ui::setSaveInterceptor([&](const ui::SaveRequest &request) {
            asked.push_back(request);
            return ui::SaveAnswer {ui::displayPath(tree.path("log.rtf")), request.filterIndex};
        });
        window.Speichern1Click();
        window.Speichern1Click();
        QCOMPARE(asked.size(), std::size_t {2});
        for (const ui::SaveRequest &request : asked) {
            QCOMPARE(request.title, QString::fromUtf8("Liste der gelöschten Duplikate Speichern"));
            QCOMPARE(request.fileName, QStringLiteral("Geloescht(%1).rtf").arg(stamp()));
        }
        const std::string log = test::readFile(tree.path("log.rtf"));
        QVERIFY(log.find("Gel\\u246?schte Datei-Duplikate") != std::string::npos);
        QVERIFY(log.find(tree.path("b")) != std::string::npos);

        window.ZurckzuListe1Click();
        window.ListeFormatieren1Click();
        window.Speichern1Click();
        QCOMPARE(asked[2].title, QStringLiteral("Erweiterte Dateiliste Speichern"));
        QCOMPARE(asked[2].fileName, QStringLiteral("Dateiliste(%1).rtf").arg(stamp()));
        QCOMPARE(asked[2].filterIndex, 2);
    }

    void savedListReopensWithItsCaption()
    {
        test::TempTree tree;
        const std::vector<std::string> lines
            = {tree.file("a", "1"), tree.file("b", "1"), "", tree.file("c", "2"), tree.file("d", "2")};
        test::Windows w;
        w.suchergebnis->setLines(lines);
        const QString saved = ui::displayPath(tree.path("Duplikate(08-12-26).txt"));
        ui::setSaveInterceptor([&](const ui::SaveRequest &) { return ui::SaveAnswer {saved, 1}; });
        w.suchergebnis->Speichern2Click();
        w.suchergebnis->setLines({});
        w.suchergebnis->ListeFormatieren1Click();
        ui::setOpenInterceptor([&] { return std::optional<QString>(saved); });
        w.main->Listeffnen1Click();
        QCOMPARE(w.suchergebnis->lines(), lines);
        QCOMPARE(w.suchergebnis->windowTitle(), QStringLiteral("Suchergebnis [Duplikate(08-12-26).txt]"));
        QVERIFY(w.suchergebnis->isVisible());
        QVERIFY(!w.suchergebnis->formattedViewShown());
        QVERIFY(w.suchergebnis->ListBox1->selectedItems().isEmpty());
        QVERIFY(!w.suchergebnis->DateienLschen1->isEnabled());
        QVERIFY(w.suchergebnis->frameGeometry().x() >= 0);
    }

    void listWithNothingLeftShowsNothingAndKeepsTheCaption()
    {
        test::TempTree tree;
        const std::string file = tree.file("liste.txt", tree.path("weg") + "\r\n");
        test::Windows w;
        w.suchergebnis->setLines({"/x", "/y"});
        w.suchergebnis->setWindowTitle(QStringLiteral("Suchergebnis (2 aus 9 Dateien)"));
        w.suchergebnis->show();
        ui::setOpenInterceptor([&] { return std::optional<QString>(ui::displayPath(file)); });
        test::MessageLog log;
        w.main->Listeffnen1Click();
        QVERIFY(log.requests.empty());
        QVERIFY(w.suchergebnis->lines().empty());
        QVERIFY(w.suchergebnis->isVisible());
        QCOMPARE(w.suchergebnis->windowTitle(), QStringLiteral("Suchergebnis (2 aus 9 Dateien)"));
    }

    void listThatCannotBeOpenedLeavesTheResultAlone()
    {
        test::TempTree tree;
        test::Windows w;
        w.suchergebnis->setLines({"/x"});
        ui::setOpenInterceptor([&] { return std::optional<QString>(ui::displayPath(tree.path("fehlt.txt"))); });
        test::MessageLog log;
        w.main->Listeffnen1Click();
        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].text, QStringLiteral("Datei nicht gefunden"));
        QCOMPARE(w.suchergebnis->lines(), std::vector<std::string> {"/x"});
        QVERIFY(!w.suchergebnis->isVisible());
    }

    void openDialogOffersListsFirstThenEverything()
    {
        std::unique_ptr<QFileDialog> dialog(ui::createListOpenDialog(nullptr));
        QCOMPARE(dialog->nameFilters(), QStringList({"Listen (*.txt)", "Alle (*)"}));
        QVERIFY(dialog->selectedNameFilter().startsWith(QStringLiteral("Listen")));
        QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
        QVERIFY(ui::isListFileName(QStringLiteral("Duplikate(08-12-26).txt")));
        QVERIFY(ui::isListFileName(QStringLiteral("GELOESCHT(08-12-26).TXT")));
        QVERIFY(!ui::isListFileName(QStringLiteral("Duplikate(08-12-2026).txt")));
        QVERIFY(!ui::isListFileName(QStringLiteral("liste.txt")));
    }

    void printingFromTheSimpleViewRebuildsTheListEvenWhenCancelled()
    {
        ui::TSuchergebnis window;
        window.setLines({"/a", "/b"});
        ui::setPrintInterceptor([](QPrinter &) { return false; });
        window.ListeDrucken2Click();
        QVERIFY(!window.formattedViewShown());
        QCOMPARE(window.document().front().text, std::string("Doppelte Dateien"));
        QCOMPARE(window.document().size(), std::size_t {3 + 2 + 4});
    }

    void printedDocumentRunsOverAsManyPagesAsItNeeds()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        test::TempTree tree;
        ui::TSuchergebnis window;
        std::vector<std::string> lines;
        for (int i = 0; i < 200; ++i)
            lines.push_back("/home/jörg/Bilder/urlaub-" + std::to_string(i) + ".jpg");
        window.setLines(lines);
        const QString pdf = ui::displayPath(tree.path("liste.pdf"));
        ui::setPrintInterceptor([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        window.ListeDrucken2Click();
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        const QString pages = info.section(QStringLiteral("Pages:"), 1).section(QLatin1Char('\n'), 0, 0).trimmed();
        QVERIFY2(pages.toInt() >= 3, qPrintable(info));
        QVERIFY(info.contains(QStringLiteral("Kopienwacht - Liste")));
        const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.contains(QStringLiteral("Doppelte Dateien")));
        QVERIFY(text.contains(QString::fromUtf8("/home/jörg/Bilder/urlaub-0.jpg")));
        QVERIFY(text.contains(QString::fromUtf8("/home/jörg/Bilder/urlaub-199.jpg")));
        QVERIFY(text.contains(QStringLiteral("e-Mail: kopienwacht@example.org")));
    }
};

QTEST_MAIN(ListsTest)
#include "lists_test.moc"
