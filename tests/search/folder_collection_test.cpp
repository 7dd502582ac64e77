#include "search/folder_collection.h"

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
    std::vector<std::string> collect(SearchRequest request) { return finalFolderList(Ttest(request, state, observer)); }
    SearchRequest request(std::string start, bool subfolders, std::vector<MarkedFolder> marked = {})
    {
        return {t.path(start), std::move(marked), subfolders, "*.*"};
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
    const SearchRequest root {"/", {}, false, "*.*"};
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
    EXPECT_EQ(observer.messages, (std::vector<std::string> {"Zugriff auf '" + t.path("weg") + "' wurde verweigert!"}));
}

TEST_F(FolderCollection, FolderNameWithLineBreakIsSkippedAndCounted)
{
    t.dir("Daten/zwei\nzeilen/innen");
    EXPECT_EQ(collect(request("Daten", true)), (std::vector<std::string> {entry("Daten")}));
    EXPECT_EQ(state.AccessErrorCount, 1U);
    ASSERT_EQ(observer.messages.size(), 1U);
}

TEST(FinalFolderList, SortsByLowerCaseThenExactAndDropsRepeats)
{
    std::vector<FolderLine> lines = {{"/b/", false}, {"/A/", false}, {"/a/", false}, {"/b/", false}, {"/c/", true}};
    EXPECT_EQ(finalFolderList(lines), (std::vector<std::string> {"/A/", "/a/", "/b/"}));
}

} // namespace
} // namespace kw::search
