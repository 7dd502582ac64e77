// The checks before a duplicate is replaced by a link, through a real search's records.
#include "fs/failure.h"
#include "results/link_run.h"
#include "search/engine.h"
#include "support/file_facts.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace kw::results
{
namespace
{

using test::inodeOf;

// Writes the same bytes anew, a second later than they were: as an editor's save looks.
void rewrite(const std::string &path, const std::string &bytes)
{
    struct stat status = {};
    ASSERT_EQ(::lstat(path.c_str(), &status), 0);
    ASSERT_TRUE(test::TempTree::writeAt(path, bytes));
    timespec times[2] = {status.st_atim, status.st_mtim};
    times[1].tv_sec += 1;
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

search::SearchOutcome searchOf(const std::string &folder)
{
    search::NullObserver quiet;
    search::EngineOptions options;
    options.keepRecords = true;
    return search::runSearch({folder, {}, true, "*.*", {}}, quiet, options);
}

TEST(LinkRequests, EachMarkedFileGoesToTheFirstUnmarkedOneAndAWhollyMarkedBlockIsNamed)
{
    const Lines lines = {"/a", "/b", "/c", "", "/d", "/e", "", "/f", "/g"};
    const Marks marks = {true, false, true, false, true, true, false, false, false};
    const LinkPlan plan = linkRequests(lines, marks, "/");
    ASSERT_EQ(plan.requests.size(), 2U);
    EXPECT_EQ(plan.requests[0].path, "/a");
    EXPECT_EQ(plan.requests[0].keptPath, "/b");
    EXPECT_EQ(plan.requests[1].path, "/c");
    EXPECT_EQ(plan.requests[1].keptPath, "/b");
    EXPECT_EQ(plan.leftAlone, std::vector<std::string> {"/d"});
}

TEST(LinkOne, AFileChangedSinceTheSearchAndTheKeptFilesOwnFailureAreLeftWithTheirReason)
{
    test::TempTree t;
    const std::string kept = t.file("a/eins", "gleich");
    const std::string duplicate = t.file("b/zwei", "gleich");
    const std::string third = t.file("c/drei", "gleich");
    const search::SearchOutcome found = searchOf(t.root());
    ASSERT_EQ(found.lines.size(), 3U);

    rewrite(duplicate, "gleich");
    for (const LinkKind kind : {LinkKind::HardLink, LinkKind::SharedBlocks}) {
        const LinkOutcome changed = linkOne({duplicate, kept}, found.records.get(), kind, false);
        EXPECT_EQ(changed.error, fs::Failure::NotTheSearchedFile);
        EXPECT_FALSE(changed.keptFileFailed);
    }
    rewrite(kept, "gleich");
    const LinkOutcome keptChanged = linkOne({third, kept}, found.records.get(), LinkKind::HardLink, false);
    EXPECT_EQ(keptChanged.error, fs::Failure::NotTheSearchedFile);
    EXPECT_TRUE(keptChanged.keptFileFailed);
    EXPECT_EQ(linkFailureReason(keptChanged),
        "die verbleibende Kopie: ist nicht mehr die Datei, die verglichen wurde (verändert, ersetzt oder verschoben)");
    EXPECT_NE(inodeOf(third), inodeOf(kept));
    EXPECT_NE(inodeOf(duplicate), inodeOf(kept));
}

TEST(LinkOne, AHardLinkNeedsEqualBytesRightBeforeAndADryRunChangesNothing)
{
    test::TempTree t;
    const std::string kept = t.file("a/eins", "gleich");
    const std::string duplicate = t.file("b/zwei", "gleich");
    // Without records (a reopened list), only the bytes tell.
    test::TempTree::writeAt(kept, "anders");
    EXPECT_EQ(linkOne({duplicate, kept}, nullptr, LinkKind::HardLink, false).error, fs::Failure::KeptCopyDiffers);
    test::TempTree::writeAt(kept, "gleich");
    const LinkOutcome dry = linkOne({duplicate, kept}, nullptr, LinkKind::HardLink, true);
    EXPECT_FALSE(dry.error);
    EXPECT_EQ(dry.freed, 6U);
    EXPECT_NE(inodeOf(duplicate), inodeOf(kept));
    const LinkOutcome done = linkOne({duplicate, kept}, nullptr, LinkKind::HardLink, false);
    EXPECT_FALSE(done.error);
    EXPECT_EQ(inodeOf(duplicate), inodeOf(kept));
    // Once one file, nothing more is done or freed.
    const LinkOutcome again = linkOne({duplicate, kept}, nullptr, LinkKind::HardLink, false);
    EXPECT_FALSE(again.error);
    EXPECT_TRUE(again.alreadyOne);
    EXPECT_EQ(again.freed, 0U);
}

// One file under two names that the checks see as two (fusefat gives `d/x` and `D/X` other
// inodes): neither kind of link may change anything there.
TEST(LinkOne, ACaseInsensitiveVolumeKeepsTheOnlyCopyWhateverTheKind)
{
    test::LoopVolume fat(test::LoopVolume::Kind::Fat);
    if (!fat.mounted())
        GTEST_SKIP() << fat.skipReason();
    ASSERT_TRUE(test::TempTree::writeAt(fat.path("x"), "nur einmal da"));
    for (const LinkKind kind : {LinkKind::HardLink, LinkKind::SharedBlocks}) {
        const LinkOutcome outcome = linkOne({fat.path("X"), fat.path("x")}, nullptr, kind, false);
        EXPECT_TRUE(outcome.error || outcome.alreadyOne);
        EXPECT_EQ(test::readFile(fat.path("x")), "nur einmal da");
    }
}

} // namespace
} // namespace kw::results
