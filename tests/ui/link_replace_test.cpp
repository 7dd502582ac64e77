// Marked duplicates replaced by links from the result window, on real volumes.
#include "fs/links.h"
#include "support/file_facts.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"
#include "ui/link_dialog.h"
#include "ui/qt_text.h"
#include "ui/result_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kw;

namespace
{

using test::inodeOf;
using test::shareAllBlocks;

// What the dialog showed when it was asked, and the answer given.
struct Asked {
    bool shown = false;
    bool sharedBlocksEnabled = false;
    bool sharedBlocksChosen = false;
    bool reasonShown = false;
    QString meaning;
    QString space;
};

void answerWith(Asked &asked, std::optional<results::LinkKind> answer)
{
    ui::setLinkChoiceInterceptor([&asked, answer](ui::LinkDialog &dialog) -> std::optional<results::LinkKind> {
        asked.shown = true;
        asked.sharedBlocksEnabled = dialog.sharedBlocks->isEnabled();
        asked.sharedBlocksChosen = dialog.sharedBlocks->isChecked();
        asked.reasonShown = !dialog.unavailable->isHidden();
        asked.meaning = dialog.meaning->text();
        asked.space = dialog.space->text();
        return answer;
    });
}

} // namespace

class LinkReplaceTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ui::setLinkChoiceInterceptor(nullptr); }

    void theEntryStandsBesideTheDeletionAndFollowsTheMarks()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        window.setLines({tree.file("A", "1"), tree.file("B", "1")});
        const QList<QAction *> entries = window.PopupMenu1->actions();
        const qsizetype deletion = entries.indexOf(window.DateienLschen1);
        QCOMPARE(entries.value(deletion + 1), window.DurchVerknuepfungErsetzen1);
        QCOMPARE(window.DurchVerknuepfungErsetzen1->text(), QString::fromUtf8("Durch &Verknüpfung ersetzen…"));
        // No other entry of the menu uses its key.
        for (const QAction *other : entries)
            if (other != window.DurchVerknuepfungErsetzen1)
                QVERIFY(!other->text().contains(QStringLiteral("&V"), Qt::CaseInsensitive));
        QVERIFY(!window.DurchVerknuepfungErsetzen1->isEnabled());
        window.setMarks({false, true});
        window.ListBox1Click();
        QVERIFY(window.DurchVerknuepfungErsetzen1->isEnabled());
    }

    void hardLinksWhereBlocksCannotBeSharedAndTheLinesStay()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        const std::vector<std::string> lines = {tree.file("A", "1"), tree.file("B", "1"), tree.file("C", "1"), "",
            tree.file("D", "22"), tree.file("E", "22")};
        window.setLines(lines);
        window.DuplikateMarkieren1Click();
        Asked asked;
        answerWith(asked, results::LinkKind::HardLink);
        test::MessageLog log;
        window.DurchVerknuepfungErsetzen1Click();

        QVERIFY(asked.shown);
        if (fs::mayShareBlocks(tree.root()))
            QSKIP("the test folder's volume can share blocks");
        QVERIFY(!asked.sharedBlocksEnabled);
        QVERIFY(asked.reasonShown);
        QVERIFY(asked.meaning.contains(QString::fromUtf8("eine Änderung über einen Pfad zeigt sich in allen")));
        QCOMPARE(asked.space, QStringLiteral("Frei werden etwa 4 Bytes."));
        QVERIFY(log.messages.empty());
        QCOMPARE(window.lines(), lines);
        QCOMPARE(inodeOf(lines[1]), inodeOf(lines[0]));
        QCOMPARE(inodeOf(lines[2]), inodeOf(lines[0]));
        QCOMPARE(inodeOf(lines[5]), inodeOf(lines[4]));
        QVERIFY(window.formattedViewShown());
        QCOMPARE(window.document()[0].text, std::string("Ersetzte Datei-Duplikate"));
        QCOMPARE(window.document()[3].text, lines[1] + " (harte Verknüpfung)");
        QCOMPARE(window.SaveDialog1.title, std::string("Liste der ersetzten Duplikate Speichern"));
        QVERIFY(!results::anyMarked(window.marks()));
        // Marked again, a replaced file frees nothing more.
        window.setMarks({false, true, false, false, false, false});
        window.ListBox1Click();
        QVERIFY(window.StatusLine->text().startsWith(QStringLiteral("1 Datei markiert: 0 Bytes frei")));
    }

    void cancelledOrWhollyMarkedChangesNothing()
    {
        test::TempTree tree;
        ui::TSuchergebnis window;
        const std::vector<std::string> lines
            = {tree.file("A", "1"), tree.file("B", "1"), "", tree.file("D", "2"), tree.file("E", "2")};
        window.setLines(lines);
        window.setMarks({false, true, false, true, true});
        window.ListBox1Click();
        Asked asked;
        answerWith(asked, std::nullopt);
        test::MessageLog log;
        window.DurchVerknuepfungErsetzen1Click();
        QVERIFY(asked.shown);
        QVERIFY(log.messages.empty());
        QVERIFY(inodeOf(lines[1]) != inodeOf(lines[0]));
        QCOMPARE(window.marks(), (results::Marks {false, true, false, true, true}));

        // Answered: the block with a file left is linked, the wholly marked one named.
        answerWith(asked, results::LinkKind::HardLink);
        window.DurchVerknuepfungErsetzen1Click();
        QCOMPARE(inodeOf(lines[1]), inodeOf(lines[0]));
        QVERIFY(inodeOf(lines[4]) != inodeOf(lines[3]));
        QCOMPARE(log.messages.size(), std::size_t {1});
        QVERIFY(log.messages[0].second.contains(QString::fromUtf8("In diesen Blöcken ist jede Datei markiert")));
        QVERIFY(log.messages[0].second.endsWith(ui::displayPath(lines[3])));
        QCOMPARE(window.marks(), (results::Marks {false, false, false, true, true}));
    }

    void sharedBlocksOnAVolumeThatCanShareThem()
    {
        test::LoopVolume btrfs(test::LoopVolume::Kind::Btrfs);
        if (!btrfs.mounted())
            QSKIP(btrfs.skipReason().c_str());
        const std::string bytes(200000, 'q');
        for (const char *name : {"eins", "zwei"})
            QVERIFY(test::TempTree::writeAt(btrfs.path(name), bytes));
        ui::TSuchergebnis window;
        window.setLines({btrfs.path("eins"), btrfs.path("zwei")});
        window.setMarks({false, true});
        window.ListBox1Click();
        Asked asked;
        answerWith(asked, results::LinkKind::SharedBlocks);
        test::MessageLog log;
        const ino_t inode = inodeOf(btrfs.path("zwei"));
        window.DurchVerknuepfungErsetzen1Click();
        QVERIFY(asked.sharedBlocksEnabled && asked.sharedBlocksChosen && !asked.reasonShown);
        QVERIFY(asked.meaning.contains(QStringLiteral("Jeder Pfad bleibt eine Datei")));
        QCOMPARE(asked.space, QStringLiteral("Frei werden etwa 195,3 KiB."));
        QVERIFY(log.messages.empty());
        QVERIFY(shareAllBlocks(btrfs.path("eins"), btrfs.path("zwei")));
        QCOMPARE(inodeOf(btrfs.path("zwei")), inode);
        QCOMPARE(window.document()[3].text, btrfs.path("zwei") + std::string(" (Blöcke geteilt)"));
    }
};

QTEST_MAIN(LinkReplaceTest)
#include "link_replace_test.moc"
