// The desktop program where a careful user tripped: marks a right click took, files trashed
// on trust, a folder that was gone, a search that could not be stopped, a window off screen;
// and what users of duplicate finders ask for beside the old commands.
#include "../shell/memory_store.h"
#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "fs/path_text.h"
#include "support/environment.h"
#include "support/temp_tree.h"
#include "ui/about_box.h"
#include "ui/application.h"
#include "ui/decoration.h"
#include "ui/desktop_open.h"
#include "ui/file_dialogs.h"
#include "ui/folder_view.h"
#include "ui/help_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QTranslator>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

using namespace kw;

namespace
{

QString marksOf(const ui::TSuchergebnis &window)
{
    QString text;
    for (const bool mark : window.marks())
        text.append(mark ? QLatin1Char('x') : QLatin1Char('.'));
    return text;
}

// A search of `tree` from the main window, as a user presses "Starten".
void searchFrom(test::Windows &w, const test::TempTree &tree)
{
    QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
    w.main->Button1Click();
}

} // namespace

class DesktopCareTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ui::setDesktopOpener(nullptr);
        ui::setFolderInterceptor(nullptr);
        ui::setOpenInterceptor(nullptr);
    }

    void aRightClickOpensTheMenuAndChangesNoMark()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines({tree.file("A", "1"), tree.file("B", "1"), "", tree.file("C", "2"), tree.file("D", "2")});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.DuplikateMarkieren1Click();
        QCOMPARE(marksOf(window), QStringLiteral(".x..x"));
        for (const int row : {0, 2, 3}) { // the original of a block, a separator, another original
            const QRect line = window.ListBox1->visualItemRect(window.ListBox1->item(row));
            QTest::mouseClick(window.ListBox1->viewport(), Qt::RightButton, {}, line.center());
            QCOMPARE(marksOf(window), QStringLiteral(".x..x"));
            window.PopupMenu1->hide();
        }
    }

    void deletingLeavesFilesThatAreNoLongerWhatWasComparedAndSaysWhy()
    {
        test::TempTree tree;
        tree.file("a1", "gleich-1");
        tree.file("a2", "gleich-1");
        tree.file("b1", "gleich-22");
        tree.file("b2", "gleich-22");
        const test::ScopedEnvironment dataHome("XDG_DATA_HOME", tree.path("daten"));
        test::Windows w;
        test::MessageLog log(ui::MessageButton::Yes);
        searchFrom(w, tree);
        QCOMPARE(w.suchergebnis->lines().size(), std::size_t {5});
        w.suchergebnis->setTrash(std::make_unique<fs::FreedesktopTrash>(tree.path("Trash")));
        w.suchergebnis->DuplikateMarkieren1Click();
        QCOMPARE(marksOf(*w.suchergebnis), QStringLiteral(".x..x"));
        // since the search: a2 became a folder, b2 was written anew
        tree.remove("a2");
        tree.file("a2/innen.txt", "ein ganzer Ordner");
        const timespec later[2] = {{2'000'000'000, 0}, {2'000'000'000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, tree.path("b2").c_str(), later, 0), 0);
        log.messages.clear();
        w.suchergebnis->DateienLschen1Click();
        QVERIFY(std::filesystem::exists(tree.path("a2/innen.txt")));
        QVERIFY(fs::fileExists(tree.path("b2")));
        QCOMPARE(marksOf(*w.suchergebnis), QStringLiteral(".x..x")); // they stay, marked
        QCOMPARE(log.messages.size(), std::size_t {2}); // the question, then the failures
        const QString failures = log.messages[1].second;
        QVERIFY2(failures.contains(
                     ui::displayPath(tree.path("a2")) + QString::fromUtf8(" (ist keine gewöhnliche Datei mehr)")),
            qPrintable(failures));
        QVERIFY2(failures.contains(ui::displayPath(tree.path("b2")) + QStringLiteral(" (ist nicht mehr die Datei")),
            qPrintable(failures));
        QVERIFY(
            !std::filesystem::exists(tree.path("Trash/files")) || std::filesystem::is_empty(tree.path("Trash/files")));
    }

    void aRemovedStartFolderIsSaidAndNothingElseIsSearched()
    {
        test::TempTree tree;
        tree.file("weg/a.txt", "gleich");
        tree.file("nachbar/a.txt", "gleich");
        tree.file("nachbar/b.txt", "gleich");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("weg"))));
        std::filesystem::remove_all(tree.path("weg")); // whether or not the folder tree noticed
        test::MessageLog log;
        w.main->Button1Click();
        QCOMPARE(log.messages.size(), std::size_t {1});
        QCOMPARE(log.messages[0].second,
            QStringLiteral("Der Ordner '%1' existiert nicht mehr.").arg(ui::displayPath(tree.path("weg"))));
        QVERIFY(!w.suchergebnis->isVisible());
        QCOMPARE(w.main->startFolder(), ui::displayPath(tree.path("weg")));
    }

    void escapeStopsTheSearchAndLeavesTheWindowAsItWas()
    {
        test::TempTree tree;
        tree.file("a.txt", "gleich");
        tree.file("b.txt", "gleich");
        tree.file("gesperrt.txt", "gleich");
        const fs::ScopedOpenFault fault([](std::string_view p) { return p.ends_with("gesperrt.txt"); });
        test::Windows w;
        w.main->Edit1->setEditText(QStringLiteral("*.txt"));
        const std::vector<std::string> before = w.main->filterHistory();
        test::MessageLog log;
        log.whileShown = [&] { QTest::keyClick(w.meldung.get(), Qt::Key_Escape); }; // while the search waits
        searchFrom(w, tree);
        QCOMPARE(log.messages.size(), std::size_t {1}); // the access message only: no "keine Duplikate"
        QVERIFY(!w.suchergebnis->isVisible());
        QVERIFY(w.suchergebnis->lines().empty());
        QVERIFY(!w.meldung->isVisible());
        QCOMPARE(w.main->filterHistory(), before);
        QVERIFY(!w.main->searching());
    }

    void theProgressDialogHasATitleBarAndRoomForItsText()
    {
        test::Windows w;
        const Qt::WindowFlags flags = w.meldung->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint); // which stops the search
        QVERIFY(w.meldung->Label1->height() >= w.meldung->Label1->fontMetrics().height());
    }

    void theWholeVerticalLabelOpensTheAboutBox()
    {
        test::Windows w;
        w.main->resize(500, 500);
        QTRY_COMPARE(w.main->Image1->geometry(), w.main->Copyr1->rect());
        QVERIFY(w.main->Copyr1->height() > 30);
    }

    void theHelpStaysUsableWhileTheAboutBoxIsOpen()
    {
        test::Windows w;
        ui::TInfo info(w.main.get());
        w.main->attach(w.meldung.get(), w.suchergebnis.get(), &info);
        w.main->show();
        QString page;
        const auto helpFromTheAboutBox = [&] {
            QVERIFY(QTest::qWaitForWindowExposed(&info));
            QTest::keyClick(&info, Qt::Key_F1); // the about box's help
            ui::THilfe *help = ui::helpWindow();
            QVERIFY(help != nullptr && help->isVisible());
            QPushButton *contents = nullptr;
            for (QPushButton *button : help->findChildren<QPushButton *>())
                if (button->text() == QStringLiteral("&Inhalt"))
                    contents = button;
            QVERIFY(contents != nullptr);
            QVERIFY(QTest::qWaitForWindowExposed(help));
            // Through the window system, where a modal box would swallow the click.
            QTest::mouseClick(
                help->windowHandle(), Qt::LeftButton, {}, contents->mapTo(help, contents->rect().center()));
            QTRY_COMPARE(help->currentPage(), QStringLiteral("index.html"));
            page = help->currentPage();
        };
        // Runs once the about box's own loop does; the box closes whether or not the checks held.
        QTimer::singleShot(0, &info, [&] {
            helpFromTheAboutBox();
            info.accept();
        });
        w.main->Image1Click();
        QCOMPARE(page, QStringLiteral("index.html"));
    }

    void aRelativeLineOpensItsAbsolutePathAndOrdnerOeffnenItsFolder()
    {
        test::TempTree tree;
        tree.file("unter/x.txt", "1");
        tree.file("unter/y.txt", "1");
        const std::string before = fs::currentFolder();
        QCOMPARE(::chdir(tree.root().c_str()), 0);
        std::vector<std::string> opened;
        ui::setDesktopOpener([&](const std::string &path) {
            opened.push_back(path);
            return true;
        });
        ui::TSuchergebnis window;
        window.setLines({"unter/x.txt", "unter/y.txt"});
        window.ListBox1->setCurrentRow(1);
        window.ListBox1DblClick();
        window.OrdnerOeffnen1Click();
        QCOMPARE(::chdir(before.c_str()), 0);
        QCOMPARE(opened, (std::vector<std::string> {tree.path("unter/y.txt"), tree.path("unter")}));

        // Where no program takes the request, the user is told, not left waiting.
        ui::setDesktopOpener([](const std::string &) { return false; });
        window.setLines({tree.path("unter/x.txt"), tree.path("unter/y.txt")});
        window.ListBox1->setCurrentRow(0);
        test::MessageLog log;
        window.OrdnerOeffnen1Click();
        window.ListBox1DblClick();
        QCOMPARE(log.messages.size(), std::size_t {2});
        QCOMPARE(log.messages[0].second,
            QString::fromUtf8("Der Ordner '%1' konnte nicht geöffnet werden: keine Dateiverwaltung nahm ihn an.")
                .arg(ui::displayPath(tree.path("unter"))));
        QCOMPARE(log.messages[1].second,
            QString::fromUtf8("Die Datei '%1' konnte nicht geöffnet werden: kein Programm nahm sie an.")
                .arg(ui::displayPath(tree.path("unter/x.txt"))));
    }

    // Ticking "Untergeordnete Ordner einbeziehen" put the first folder on the list of marked
    // folders; a later search of another folder covers both, and the window says so where the
    // user decides.
    void aSearchOfMoreThanTheStartFolderSaysWhatItCovered()
    {
        test::TempTree tree;
        tree.file("alt/x", "gleich");
        tree.file("neu/y", "gleich");
        tree.file("neu/z", "gleich");
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("alt"))));
        w.main->CheckBox1->setChecked(true);
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("neu"))));
        test::MessageLog log(ui::MessageButton::No);
        w.main->Button1Click();
        QCOMPARE(w.suchergebnis->lines().size(), std::size_t {3});
        const QString searched = QStringLiteral("Durchsucht: 2 Ordner — %1, %2")
                                     .arg(ui::displayPath(tree.path("alt")), ui::displayPath(tree.path("neu")));
        QVERIFY(w.suchergebnis->SearchedLine->isVisible());
        QCOMPARE(w.suchergebnis->SearchedLine->text(), searched);
        w.suchergebnis->DuplikateMarkieren1Click();
        w.suchergebnis->DateienLschen1Click();
        QCOMPARE(log.requests.size(), std::size_t {1});
        QCOMPARE(log.requests[0].text,
            QStringLiteral("Sollen die 2 markierten Dateien in den Papierkorb verschoben werden?"));
        QCOMPARE(log.requests[0].note, searched);

        // The start folder alone: nothing more to say.
        test::Windows alone;
        QVERIFY(alone.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("neu"))));
        alone.main->Button1Click();
        QCOMPARE(alone.suchergebnis->lines().size(), std::size_t {2});
        QVERIFY(alone.suchergebnis->SearchedLine->text().isEmpty());
        QVERIFY(!alone.suchergebnis->SearchedLine->isVisible());
    }

    void aNewListStartsAtItsFirstLine()
    {
        ui::TSuchergebnis window;
        std::vector<std::string> lines;
        for (int i = 0; i < 500; ++i)
            lines.push_back("/a/" + std::to_string(i));
        window.setLines(lines);
        window.show();
        window.ListBox1->scrollToBottom();
        QVERIFY(window.ListBox1->verticalScrollBar()->value() > 0);
        window.setLines(lines);
        QCOMPARE(window.ListBox1->verticalScrollBar()->value(), 0);
    }

    void onAFirstStartTheHelpAskedForComesBackOverTheAboutBox()
    {
        test::MemoryStore store;
        test::Windows w;
        ui::TInfo info(w.main.get());
        w.main->attach(w.meldung.get(), w.suchergebnis.get(), &info);
        {
            test::MessageLog log(ui::MessageButton::Yes); // "Hilfe anzeigen?" on a first start
            w.main->FormCreate(store);
        }
        w.main->show();
        ui::THilfe *help = ui::helpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        QVERIFY(w.main->Timer1->isActive());
        QTimer::singleShot(0, &info, [&] {
            QTRY_VERIFY(info.isVisible());
            info.accept();
        });
        w.main->Timer1Timer();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(help));
        help->close();
    }

    void aListWithLfLineEndsReopensAndComesToTheFront()
    {
        test::TempTree tree;
        const std::string a = tree.file("a", "1");
        const std::string b = tree.file("b", "1");
        const std::string list = tree.file("Duplikate(08-12-26).txt", a + "\n" + b + "\n");
        test::Windows w;
        ui::setOpenInterceptor([&] { return std::optional<QString>(ui::displayPath(list)); });
        w.main->Listeffnen1Click();
        QCOMPARE(w.suchergebnis->lines(), (std::vector<std::string> {a, b}));
        QVERIFY(w.suchergebnis->isVisible());
        QTRY_VERIFY(w.suchergebnis->isActiveWindow());
    }

    void theOpenFolderLooksOpen()
    {
        test::TempTree tree;
        test::Windows w;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true); // the start folder joins the list, and is open
        QCOMPARE(w.main->ListView1->count(), 1);
        const QImage open = w.main->ListView1->item(0)->icon().pixmap(16, 16).toImage();
        tree.dir("anderer");
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.path("anderer"))));
        const QImage closed = w.main->ListView1->item(0)->icon().pixmap(16, 16).toImage();
        QVERIFY(open != closed);
    }

    void theResultWindowStaysOnTheScreenAndShowsWholePathsOnDemand()
    {
        test::TempTree tree;
        std::string deep;
        for (int level = 0; level < 12; ++level)
            deep += std::string(120, static_cast<char>('a' + level)) + "/";
        tree.file(deep + "x.txt", "gleich");
        tree.file(deep + "y.txt", "gleich");
        test::Windows w;
        test::MessageLog log;
        QVERIFY(w.main->RzDirectoryListBox1->setFolder(ui::displayPath(tree.root())));
        w.main->CheckBox1->setChecked(true); // the start folder joins the list, with its subfolders
        w.main->Button1Click();
        QVERIFY(w.suchergebnis->isVisible());
        // placed again once a frame is known, or once none will come
        QTRY_VERIFY_WITH_TIMEOUT(w.suchergebnis->findChild<QObject *>(QStringLiteral("FramePlacer")) == nullptr, 10000);
        const QRect screen = w.suchergebnis->screen()->geometry();
        const QRect frame = w.suchergebnis->frameGeometry();
        QVERIFY2(frame.left() >= screen.left() && frame.right() <= screen.right(),
            qPrintable(QStringLiteral("%1 %2").arg(frame.left()).arg(frame.width())));
        // the whole path as a hint on the line under the pointer, above the window's own hint
        const QRect line = w.suchergebnis->ListBox1->visualItemRect(w.suchergebnis->ListBox1->item(0));
        QHelpEvent help(
            QEvent::ToolTip, line.center(), w.suchergebnis->ListBox1->viewport()->mapToGlobal(line.center()));
        QApplication::sendEvent(w.suchergebnis->ListBox1->viewport(), &help);
        QTRY_VERIFY(QToolTip::text().startsWith(ui::displayPath(tree.path(deep + "x.txt"))));
        QVERIFY(QToolTip::text().contains(QString::fromUtf8("Die Rechte Maustaste öffnet")));
    }

    void markingByFolderAndAgeNeverTakesABlocksLastCopy()
    {
        test::TempTree tree;
        const std::vector<std::string> lines
            = {tree.file("alt/a", "1"), tree.file("neu/a", "1"), "", tree.file("neu/b", "22"),
                tree.file("sonst/b", "22"), "", tree.file("sonst/c", "333"), tree.file("sonst/d", "333")};
        const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        for (const std::string &path : {lines[0], lines[4], lines[7]})
            QCOMPARE(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
        ui::TSuchergebnis window;
        window.setLines(lines);
        ui::setFolderInterceptor([&](const QString &, const QString &proposed) {
            // the folder of the line under the pointer is proposed
            return proposed == ui::displayPath(tree.path("neu")) ? std::optional<QString>(proposed) : std::nullopt;
        });
        window.ListBox1->setCurrentRow(1);
        window.AlleAusserInOrdnerBehalten1Click();
        QCOMPARE(marksOf(window), QStringLiteral("x...x...")); // the block without a file in neu: none
        window.KeineMarkieren1Click();
        QCOMPARE(marksOf(window), QStringLiteral("........"));
        window.ListBox1->setCurrentRow(4);
        window.AlleInDiesemOrdner1Click();
        QCOMPARE(marksOf(window), QStringLiteral("....x.xx"));
        window.NachAlterBehalten(true); // keep the newest
        QCOMPARE(marksOf(window), QStringLiteral("x...x..x"));
        window.NachAlterBehalten(false); // keep the oldest
        QCOMPARE(marksOf(window), QStringLiteral(".x.x..x."));
        window.MarkierungUmkehren1Click();
        QCOMPARE(marksOf(window), QStringLiteral("x...x..x"));
        QVERIFY(window.DateienLschen1->isEnabled());
    }

    void theStatusLineSaysWhatTheMarksFreeAndRemovingTakesLinesNotFiles()
    {
        test::TempTree tree;
        const std::string a = tree.file("a", std::string(2048, 'x'));
        const std::string b = tree.file("b", std::string(2048, 'x'));
        const std::string c = tree.hardlink("c", "a");
        ui::TSuchergebnis window;
        window.setLines({a, b, c});
        QCOMPARE(window.StatusLine->text(), QStringLiteral("Keine Datei markiert"));
        window.setMarks({false, true, true});
        window.ListBox1Click();
        QCOMPARE(window.StatusLine->text(),
            QStringLiteral("2 Dateien markiert: 2,0 KiB frei, sobald der Papierkorb geleert ist; davon ist eine ein "
                           "harter Link auf eine bleibende "
                           "Datei und macht keinen Platz frei"));
        window.setWindowTitle(QStringLiteral("Suchergebnis (3 aus 3 Dateien)"));
        window.AusListeEntfernen1Click();
        QCOMPARE(window.lines(), (std::vector<std::string> {a}));
        // The counts of the search are gone with the lines, as after a deletion run.
        QCOMPARE(window.windowTitle(), QStringLiteral("Suchergebnis"));
        QCOMPARE(window.listKind, search::ListKind::FileList);
        QVERIFY(fs::fileExists(b) && fs::fileExists(c));
        QVERIFY(!window.DateienLschen1->isEnabled());
    }

    void qtsOwnTextsComeInGermanWhereTheSystemSpeaksIt()
    {
        QTranslator german;
        if (!ui::loadQtTranslations(german, QLocale(QLocale::German, QLocale::Germany)))
            QSKIP("Qt's German translations are not installed");
        QApplication::installTranslator(&german);
        QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_O).toString(QKeySequence::NativeText), QStringLiteral("Strg+O"));
        QCOMPARE(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText), QStringLiteral("Entf"));
        QApplication::removeTranslator(&german);
        QTranslator english;
        QVERIFY(!ui::loadQtTranslations(english, QLocale(QLocale::English, QLocale::UnitedStates)));
    }
};

QTEST_MAIN(DesktopCareTest)
#include "desktop_care_test.moc"
