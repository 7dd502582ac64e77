#include "search/folder_collection.h"

#include "fs/failure.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

class FolderCollection : public testing::Test
{
protected:
    std::vector<std::string> collect(const SearchRequest &request, unsigned threads = 1)
    {
        const ListingSettings settings {
            fs::FileMask(request.filter), std::nullopt, {}, fs::Credentials::ofThisProcess(), threads, nullptr};
        std::vector<std::string> paths;
        for (const FolderLine &line : finalFolderList(Ttest(request, settings, state, observer).lines))
            paths.push_back(line.path);
        return paths;
    }
    SearchRequest request(std::string start, bool subfolders, std::vector<MarkedFolder> marked = {})
    {
        return {t.path(start), std::move(marked), subfolders, "*.*", {}};
    }
    std::string entry(std::string_view relative) { return t.path(relative) + "/"; }

    test::TempTree t;
    SearchState state;
    test::RecordingObserver observer;
};

TEST_F(FolderCollection, WithoutSubfoldersOnlyTheStartFolder)
{
    t.dir("Daten/A");
    EXPECT_EQ(collect(request("Daten", false)), (std::vector<std::string> {entry("Daten")}));
    EXPECT_EQ(observer.statuses.back(), "1 Ordner gefunden");
}

TEST_F(FolderCollection, RootIsListedWithOneSlash)
{
    const SearchRequest root {"/", {}, false, "*.*", {}};
    EXPECT_EQ(collect(root), (std::vector<std::string> {"/"}));
}

TEST_F(FolderCollection, SubfoldersBreadthFirstEachOnce)
{
    t.dir("Daten/A/X");
    t.dir("Daten/B");
    EXPECT_EQ(collect(request("Daten", true)),
        (std::vector<std::string> {entry("Daten"), entry("Daten/A"), entry("Daten/A/X"), entry("Daten/B")}));
    EXPECT_EQ(observer.statuses.back(), "4 Ordner gefunden");
    // TDir counts the top folder that is appended after its subfolders
    EXPECT_EQ(observer.statuses.front(), "2 Ordner gefunden");
}

TEST_F(FolderCollection, TopFolderInsideAnotherIsSearchedOnce)
{
    t.dir("Daten/A/X");
    t.dir("Daten/B");
    const auto folders = collect(request("Daten", true, {{entry("Daten"), true}, {entry("Daten/A"), true}}));
    EXPECT_EQ(
        folders, (std::vector<std::string> {entry("Daten"), entry("Daten/A"), entry("Daten/A/X"), entry("Daten/B")}));
    // the second top folder is appended again before the de-duplication
    EXPECT_EQ(observer.statuses.back(), "5 Ordner gefunden");
}

TEST_F(FolderCollection, SameEntryTwiceOrEqualToStartIsSearchedOnce)
{
    t.dir("Daten");
    const auto folders = collect(request("Daten", false, {{entry("Daten"), true}, {entry("Daten"), true}}));
    EXPECT_EQ(folders, (std::vector<std::string> {entry("Daten")}));
}

TEST_F(FolderCollection, InactiveEntryEqualToStartKeepsItOut)
{
    t.dir("Daten");
    EXPECT_TRUE(collect(request("Daten", true, {{entry("Daten"), false}})).empty());
}

TEST_F(FolderCollection, InactiveEntryBelowStartIsStillPartOfItsTree)
{
    t.dir("Daten/A");
    const auto folders = collect(request("Daten", true, {{entry("Daten/A"), false}}));
    EXPECT_EQ(folders, (std::vector<std::string> {entry("Daten"), entry("Daten/A")}));
}

TEST_F(FolderCollection, HiddenFoldersAndLinksInsideTheTreeAreNotEntered)
{
    t.dir("Daten/.versteckt/innen");
    t.dir("Daten/A");
    t.symlink("Daten/zu-A", t.path("Daten/A"));
    t.symlink("Daten/A/schleife", t.path("Daten"));
    EXPECT_EQ(collect(request("Daten", true)), (std::vector<std::string> {entry("Daten"), entry("Daten/A")}));
}

TEST_F(FolderCollection, HiddenTopFolderNamedByTheUserIsEntered)
{
    t.dir(".versteckt/innen");
    EXPECT_EQ(collect(request(".versteckt", true)),
        (std::vector<std::string> {entry(".versteckt"), entry(".versteckt/innen")}));
}

TEST_F(FolderCollection, LinkedTopFolderKeepsItsTextAndIsNotSearchedTwice)
{
    t.dir("echt/A");
    t.symlink("verweis", t.path("echt"));
    const auto viaLink = collect(request("verweis", true));
    EXPECT_EQ(viaLink, (std::vector<std::string> {entry("verweis"), entry("verweis/A")}));

    const auto both = collect(request("verweis", true, {{entry("echt"), true}}));
    EXPECT_EQ(both, (std::vector<std::string> {entry("echt"), entry("echt/A")}));
}

TEST_F(FolderCollection, FolderThatCannotBeEnteredIsReportedAndSkipped)
{
    t.dir("Daten/A");
    const auto folders = collect(request("Daten", true, {{entry("weg"), true}}));
    EXPECT_EQ(folders, (std::vector<std::string> {entry("Daten"), entry("Daten/A")}));
    EXPECT_EQ(state.AccessErrorCount, 1U);
    // the real reason, not "verweigert": the folder is not there
    EXPECT_EQ(observer.messages,
        (std::vector<std::string> {
            "Auf '" + t.path("weg") + "' kann nicht zugegriffen werden: nicht mehr vorhanden."}));
}

TEST_F(FolderCollection, FolderNameWithLineBreakIsSkippedAndCounted)
{
    t.dir("Daten/zwei\nzeilen/innen");
    EXPECT_EQ(collect(request("Daten", true)), (std::vector<std::string> {entry("Daten")}));
    EXPECT_EQ(state.AccessErrorCount, 1U);
    ASSERT_EQ(observer.messages.size(), 1U);
}

TEST_F(FolderCollection, KernelFileSystemAsTopFolderIsReportedNotWalked)
{
    const SearchRequest proc {"/proc", {}, true, "*.*", {}};
    EXPECT_TRUE(collect(proc).empty());
    ASSERT_EQ(observer.skips.size(), 1U);
    EXPECT_EQ(observer.skips[0].second, fs::Failure::KernelFileSystem);
    EXPECT_EQ(state.AccessErrorCount, 1U);
}

TEST_F(FolderCollection, SeveralThreadsCollectTheSameFoldersInTheSameOrder)
{
    for (int a = 0; a < 12; ++a)
        for (int b = 0; b < 6; ++b)
            t.dir("Daten/" + std::to_string(a) + "/" + std::string(1, static_cast<char>('A' + b)) + "/x");
    const SearchRequest tree = request("Daten", true, {{entry("Daten/3"), true}});
    const std::vector<std::string> alone = collect(tree, 1);
    const std::vector<std::string> statuses = observer.statuses;
    observer = {};
    EXPECT_EQ(collect(tree, 4), alone);
    EXPECT_EQ(observer.statuses, statuses);
}

TEST(FinalFolderList, SortsByLowerCaseThenExactAndDropsRepeats)
{
    std::vector<FolderLine> lines(5);
    const char *paths[] = {"/b/", "/A/", "/a/", "/b/", "/c/"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].path = paths[i];
    lines[4].skipped = true;
    std::vector<std::string> kept;
    for (const FolderLine &line : finalFolderList(std::move(lines)))
        kept.push_back(line.path);
    EXPECT_EQ(kept, (std::vector<std::string> {"/A/", "/a/", "/b/"}));
}

} // namespace
} // namespace kw::search
