// Marking, opening and deleting in the result window, with real files and a trash of the
// test's own.
#include "fs/file_access.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"
#include "ui/action_progress.h"
#include "ui/desktop_open.h"
#include "ui/input_dialog.h"
#include "ui/qt_text.h"
#include "ui/result_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QThread>
#include <QtTest>

#include <set>

using namespace kw;

namespace
{

// The trash a user has, but refusing the paths a test names.
class RefusingTrash final : public fs::Trash
{
public:
    RefusingTrash(std::string home, std::set<std::string> refused)
        : m_trash(std::move(home)), m_refused(std::move(refused))
    {
    }
    std::error_code moveToTrash(const fs::Entry &entry) override
    {
        if (m_refused.count(entry.path))
            return std::make_error_code(std::errc::device_or_resource_busy);
        return m_trash.moveToTrash(entry);
    }
    std::error_code putBack() override { return m_trash.putBack(); }
    std::string lastPlace() const override { return m_trash.lastPlace(); }

private:
    fs::FreedesktopTrash m_trash;
    std::set<std::string> m_refused;
};

// The home trash, but at the `at`th file it acts as a user would while the files go: it
// presses the progress window's cancel button (on the window thread, waiting for it) and
// notes what the window said then.
class CancellingTrash final : public fs::Trash
{
public:
    CancellingTrash(std::string home, std::size_t at) : m_trash(std::move(home)), m_at(at) { }
    std::error_code moveToTrash(const fs::Entry &entry) override
    {
        offTheWindowThread = offTheWindowThread && QThread::currentThread() != qApp->thread();
        if (++m_moves == m_at) {
            QWidget *anyWindow = QApplication::topLevelWidgets().value(0);
            QMetaObject::invokeMethod(
                anyWindow,
                [this] {
                    for (QWidget *window : QApplication::topLevelWidgets()) {
                        if (auto *progress = qobject_cast<ui::ActionProgress *>(window)) {
                            progress->showProgress();
                            shown = progress->line->text();
                            caption = progress->windowTitle();
                            progress->cancel->click();
                        }
                    }
                },
                Qt::BlockingQueuedConnection);
        }
        return m_trash.moveToTrash(entry);
    }
    std::error_code putBack() override { return m_trash.putBack(); }
    std::string lastPlace() const override { return m_trash.lastPlace(); }

    QString shown;
    QString caption;
    bool offTheWindowThread = true;

private:
    fs::FreedesktopTrash m_trash;
    std::size_t m_at;
    std::size_t m_moves = 0;
};

QString marksOf(const ui::TSuchergebnis &window)
{
    QString text;
    for (const bool mark : window.marks())
        text.append(mark ? QLatin1Char('x') : QLatin1Char('.'));
    return text;
}

} // namespace

class MarkingDeletionTest : public QObject
{
    Q_OBJECT

private:
    // Blocks A, B, C and D, E of real files.
    std::vector<std::string> makeBlocks(test::TempTree &tree)
    {
        return {tree.file("A", "1"), tree.file("B", "1"), tree.file("C", "1"), "", tree.file("D", "2"),
            tree.file("E", "2")};
    }

private slots:
    void cleanup()
    {
        ui::setTextInterceptor(nullptr);
        ui::setDesktopOpener(nullptr);
    }

    void markingCommandsKeepSeparatorsUnmarkedAndFollowTheDeleteEntry()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines(makeBlocks(tree));
        window.setMarks({true, false, false, false, false, false});
        window.DuplikateMarkieren1Click();
        QCOMPARE(marksOf(window), QStringLiteral(".xx..x"));
        QVERIFY(window.DateienLschen1->isEnabled());
        window.AllesMarkieren1Click();
        QCOMPARE(marksOf(window), QStringLiteral("xxx.xx"));
        // a range across the blocks by hand: the separator is unmarked again at once
        window.ListBox1->selectAll();
        QCOMPARE(marksOf(window), QStringLiteral("xxx.xx"));
        window.ListBox1->clearSelection();
        QVERIFY(!window.DateienLschen1->isEnabled());
    }

    void maskDialogCancelledOrEmptyChangesNothing()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines({tree.file("Bilder/a.jpg", "1"), tree.file("bilder/b.jpg", "1")});
        QString caption;
        QString prompt;
        std::optional<QString> answer;
        ui::setTextInterceptor([&](const QString &c, const QString &p) {
            caption = c;
            prompt = p;
            return answer;
        });
        window.Markierungsmaske1Click();
        QCOMPARE(caption, QStringLiteral("Markierungsmaske"));
        QCOMPARE(prompt, QStringLiteral("Zeichenfolge im Dateinamen:"));
        QCOMPARE(marksOf(window), QStringLiteral(".."));
        answer = QString();
        window.Markierungsmaske1Click();
        QCOMPARE(marksOf(window), QStringLiteral(".."));
        QVERIFY(!window.DateienLschen1->isEnabled());
        answer = QStringLiteral("/bilder/");
        window.Markierungsmaske1Click();
        QCOMPARE(marksOf(window), QStringLiteral(".x"));
        QVERIFY(window.DateienLschen1->isEnabled());
    }

    void doubleClickOpensOnlyAnExistingFile()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        const std::string present = tree.file("da.txt", "1");
        window.setLines({present, "", tree.path("weg.txt"), tree.path("")});
        std::vector<std::string> opened;
        ui::setDesktopOpener([&](const std::string &path) {
            opened.push_back(path);
            return true;
        });
        for (int row = 0; row < 4; ++row) {
            window.ListBox1->setCurrentRow(row);
            window.ListBox1DblClick();
        }
        QCOMPARE(opened, std::vector<std::string> {present});
    }

    void confirmedDeletionLeavesTheFirstOfEachBlockAndShowsTheLog()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setTrash(std::make_unique<fs::FreedesktopTrash>(tree.path("Trash")));
        const std::vector<std::string> lines = makeBlocks(tree);
        window.setLines(lines);
        window.show();
        window.DuplikateMarkieren1Click();
        test::MessageLog log(ui::MessageButton::Yes);
        window.DateienLschen1Click();

        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].kind, ui::MessageKind::Confirmation);
        QCOMPARE(log.requests[0].text,
            QStringLiteral("Sollen die 3 markierten Dateien in den Papierkorb verschoben werden?"));
        QCOMPARE(log.requests[0].defaultButton, ui::MessageButton::Yes);
        QCOMPARE(window.lines(), (std::vector<std::string> {lines[0], "", lines[4]}));
        QVERIFY(fs::fileExists(tree.path("Trash/files/B")));
        QVERIFY(fs::fileExists(tree.path("Trash/files/E")));
        QVERIFY(window.formattedViewShown());
        QCOMPARE(window.windowTitle(), QStringLiteral("Suchergebnis"));
        QCOMPARE(window.listKind, search::ListKind::FileList);
        QVERIFY(!window.DateienLschen1->isEnabled());
        QCOMPARE(window.document()[0].text, std::string("Gelöschte Datei-Duplikate"));
        QCOMPARE(window.document()[3].text, lines[1]);
        QCOMPARE(window.document()[4].text, lines[2]);
        QCOMPARE(window.document()[5].text, lines[5]);
        QCOMPARE(window.SaveDialog1.title, std::string("Liste der gelöschten Duplikate Speichern"));
        QVERIFY(window.SaveDialog1.fileName.starts_with("Geloescht("));
        QVERIFY(window.SaveDialog1.fileName.ends_with(").rtf"));
    }

    // A long deletion runs off the window thread with a window of its own; cancelled, it
    // stops between two files, and what went stays gone and is logged.
    void aLongDeletionShowsHowFarItIsAndStopsWhenCancelled()
    {
        test::TempTree tree;
        std::vector<std::string> lines;
        for (int i = 0; i < 2000; ++i)
            lines.push_back(tree.file("d/" + std::to_string(i), "gleich"));
        ui::TSuchergebnis window;
        auto trash = std::make_unique<CancellingTrash>(tree.path("Trash"), 100);
        CancellingTrash &seen = *trash;
        window.setTrash(std::move(trash));
        window.setLines(lines);
        window.show();
        window.DuplikateMarkieren1Click();
        test::MessageLog log(ui::MessageButton::Yes);
        window.DateienLschen1Click();

        QVERIFY(seen.offTheWindowThread); // the window painted on meanwhile
        QCOMPARE(seen.caption, QString::fromUtf8("Dateien Löschen"));
        QCOMPARE(seen.shown, QStringLiteral("99 von 1999 Dateien in den Papierkorb"));
        // The 100th was under way when cancel came: it went, the 101st did not.
        QCOMPARE(window.lines().size(), std::size_t {1900});
        QVERIFY(!fs::fileExists(lines[100]));
        QVERIFY(fs::fileExists(lines[101]));
        QCOMPARE(window.document()[0].text, std::string("Gelöschte Datei-Duplikate"));
        std::size_t logged = 0;
        for (const results::Paragraph &paragraph : window.document())
            logged += paragraph.text.starts_with(tree.path("d/")) ? 1 : 0;
        QCOMPARE(logged, std::size_t {100});
        QCOMPARE(window.marks()[1], true); // what stayed keeps its mark
        QCOMPARE(log.requests.size(), std::size_t {1}); // the question only: nothing failed
    }

    void declinedDeletionChangesOnlyCaptionAndLog()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setTrash(std::make_unique<fs::FreedesktopTrash>(tree.path("Trash")));
        const std::vector<std::string> lines = makeBlocks(tree);
        window.setLines(lines);
        window.setWindowTitle(QStringLiteral("Suchergebnis (5 aus 5 Dateien)"));
        window.DuplikateMarkieren1Click();
        test::MessageLog log(ui::MessageButton::No);
        window.DateienLschen1Click();
        QCOMPARE(window.lines(), lines);
        QCOMPARE(marksOf(window), QStringLiteral(".xx..x"));
        QVERIFY(!window.formattedViewShown());
        QVERIFY(window.DateienLschen1->isEnabled());
        QCOMPARE(window.listKind, search::ListKind::DuplicateList);
        QCOMPARE(window.windowTitle(), QStringLiteral("Suchergebnis"));
        QCOMPARE(window.document().size(), std::size_t {7}); // a log without entries
        QVERIFY(fs::fileExists(lines[1]));
    }

    void fileThatCannotBeMovedStaysMarkedAndIsReported()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        const std::vector<std::string> lines = makeBlocks(tree);
        window.setTrash(std::make_unique<RefusingTrash>(tree.path("Trash"), std::set<std::string> {lines[2]}));
        window.setLines(lines);
        window.DuplikateMarkieren1Click();
        test::MessageLog log(ui::MessageButton::Yes);
        window.DateienLschen1Click();
        QCOMPARE(window.lines(), (std::vector<std::string> {lines[0], lines[2], "", lines[4]}));
        QCOMPARE(marksOf(window), QStringLiteral(".x.."));
        QVERIFY(window.DateienLschen1->isEnabled());
        QCOMPARE(window.document().size(), std::size_t {7 + 2}); // B and E logged, not C
        QCOMPARE(log.requests.size(), std::size_t {2});
        QCOMPARE(log.requests[1].kind, ui::MessageKind::Error);
        QVERIFY(log.requests[1].text.contains(ui::displayPath(lines[2])));
    }

    void markingEveryCopyAsksWithNoAsTheDefault()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setTrash(std::make_unique<fs::FreedesktopTrash>(tree.path("Trash")));
        window.setLines(makeBlocks(tree));
        window.setMarks({false, true, true, false, true, true});
        window.ListBox1Click();
        test::MessageLog log(ui::MessageButton::No);
        window.DateienLschen1Click();
        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].defaultButton, ui::MessageButton::No);
        QVERIFY(log.requests[0].text.contains(QStringLiteral("In einer Gruppe sind alle Kopien markiert.")));
    }

    // A reopened list naming one file twice, on a volume that does not tell the case of names
    // apart: the file is put back, and the message says why.
    void oneFileUnderTwoNamesIsNeverTrashedAsItsOwnCopy()
    {
        test::LoopVolume fat(test::LoopVolume::Kind::Fat);
        if (!fat.mounted())
            QSKIP(fat.skipReason().c_str());
        QVERIFY(QDir().mkpath(ui::displayPath(fat.path("d"))));
        QVERIFY(test::TempTree::writeAt(fat.path("d/x"), "einzige Kopie"));
        test::TempTree home;
        ui::TSuchergebnis window;
        window.setTrash(std::make_unique<fs::FreedesktopTrash>(home.path("Trash")));
        window.setLines({fat.path("d/x"), fat.path("D/X")});
        window.setMarks({false, true});
        window.ListBox1Click();
        test::MessageLog log(ui::MessageButton::Yes);
        window.DateienLschen1Click();
        QCOMPARE(test::readFile(fat.path("d/x")), std::string("einzige Kopie"));
        QCOMPARE(window.lines().size(), std::size_t {2});
        QCOMPARE(marksOf(window), QStringLiteral(".x"));
        QCOMPARE(log.requests.size(), std::size_t {2});
        QVERIFY(log.requests[1].text.contains(QStringLiteral("dieselbe Datei unter anderem Namen")));
    }
};

QTEST_MAIN(MarkingDeletionTest)
#include "marking_deletion_test.moc"
