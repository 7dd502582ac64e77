#include "search/size_grouping.h"

#include "search/texts.h"
#include "support/recording_observer.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

// Inventory lines with the given size keys and the paths p1, p2, … in that order.
std::vector<InventoryLine> inventory(const std::vector<std::string> &keys)
{
    std::vector<InventoryLine> lines;
    for (std::size_t i = 0; i < keys.size(); ++i)
        lines.push_back({keys[i], "p" + std::to_string(i + 1), std::stoull(keys[i]), false});
    return lines;
}

std::vector<std::string> percentages(const std::vector<int> &values)
{
    std::vector<std::string> texts;
    for (const int p : values)
        texts.push_back(sortingText(p));
    return texts;
}

class SizeGrouping : public testing::Test
{
protected:
    CandidateList group(const std::vector<std::string> &keys) { return groupBySize(inventory(keys), state, observer); }
    SearchState state;
    test::RecordingObserver observer;
};

TEST_F(SizeGrouping, EmptyInventoryYieldsNothing)
{
    EXPECT_TRUE(group({}).empty());
    EXPECT_EQ(state.CandidateCount, 0U);
    EXPECT_TRUE(observer.statuses.empty());
}

TEST_F(SizeGrouping, OneLineStaysAndFormsNoGroup)
{
    EXPECT_TRUE(group({"5"}).empty());
    EXPECT_EQ(observer.statuses, percentages({0}));
}

TEST_F(SizeGrouping, UniqueSizesAreDropped)
{
    EXPECT_TRUE(group({"1", "2", "3"}).empty());
    EXPECT_EQ(state.CandidateCount, 0U);
}

TEST_F(SizeGrouping, GroupsAreRunsOfOneSize)
{
    const CandidateList candidates = group({"5", "5", "7", "7", "7", "9"});
    EXPECT_EQ(candidates.lines(), (std::vector<std::string> {"p1", "p2", "", "p3", "p4", "p5"}));
    EXPECT_EQ(state.CandidateCount, 5U);
}

TEST_F(SizeGrouping, OddGroupKeepsItsLastLine)
{
    EXPECT_EQ(group({"5", "5", "5"}).lines(), (std::vector<std::string> {"p1", "p2", "p3"}));
}

TEST_F(SizeGrouping, EmptyFilesFormAGroupLikeAnyOther)
{
    EXPECT_EQ(group({"0", "0", "3"}).lines(), (std::vector<std::string> {"p1", "p2"}));
}

TEST_F(SizeGrouping, KeysCompareAsTextAndNeverInterleave)
{
    std::vector<InventoryLine> lines = {{"5", "/e", 5, false}, {"123", "/c", 123, false}, {"12", "/b", 12, false},
        {"123", "/D", 123, false}, {"12", "/A", 12, false}, {"5", "/f", 5, false}};
    const CandidateList candidates = groupBySize(lines, state, observer);
    EXPECT_EQ(candidates.lines(), (std::vector<std::string> {"/A", "/b", "", "/c", "/D", "", "/e", "/f"}));
}

TEST_F(SizeGrouping, TenLinesInPairsShowTheSortingPercentages)
{
    const CandidateList candidates = group({"1", "1", "2", "2", "3", "3", "4", "4", "5", "5"});
    EXPECT_EQ(candidates.groupCount(), 5U);
    EXPECT_EQ(state.SortProgressBase, 50);
    EXPECT_EQ(observer.statuses, percentages({0, 6, 12, 17, 23, 28, 34, 39, 45, 50, 95}));
}

TEST_F(SizeGrouping, FourLinesOfOneSizeStayAtTheBase)
{
    const CandidateList candidates = group({"4", "4", "4", "4"});
    EXPECT_EQ(candidates.lines(), (std::vector<std::string> {"p1", "p2", "p3", "p4"}));
    EXPECT_EQ(observer.statuses, percentages({0, 18, 34, 50}));
    EXPECT_EQ(state.SearchIndex, 4);
}

TEST_F(SizeGrouping, PrePassDeletesTheLastLineWithAUniqueSize)
{
    group({"5", "5", "7"});
    // positions 0, 1 and then 2, where the unique last line goes
    EXPECT_EQ(observer.statuses, percentages({0, 26, 50}));
    EXPECT_EQ(state.SortProgressBase, 50);
}

TEST_F(SizeGrouping, MembersOfAGroupAreInPathOrderIgnoringCase)
{
    std::vector<InventoryLine> lines
        = {{"3", "/b.txt", 3, false}, {"3", "/Ä.txt", 3, false}, {"3", "/A.txt", 3, false}};
    EXPECT_EQ(groupBySize(lines, state, observer).lines(), (std::vector<std::string> {"/A.txt", "/b.txt", "/Ä.txt"}));
}

} // namespace
} // namespace kw::search
