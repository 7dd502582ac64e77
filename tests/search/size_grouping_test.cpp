#include "search/size_grouping.h"

#include "search/texts.h"
#include "support/inventory_builder.h"
#include "support/recording_observer.h"

#include "fs/text_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

namespace kw::search
{
namespace
{

using Lines = std::vector<std::string>;
using Files = std::vector<std::pair<std::string, std::uint64_t>>;

// Files with the given sizes named p1, p2, … in that order.
Files numbered(const std::vector<std::uint64_t> &sizes)
{
    Files files;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        files.emplace_back("p" + std::to_string(i + 1), sizes[i]);
    return files;
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
    // The candidate list as lines, the paths without their "/".
    Lines group(const Files &files)
    {
        inventory = test::inventoryOfSizes(files);
        candidates = groupBySize(inventory, state, observer);
        Lines lines = candidateLines(candidates, inventory);
        for (std::string &line : lines)
            line = line.empty() ? line : line.substr(1);
        return lines;
    }
    Lines group(const std::vector<std::uint64_t> &sizes) { return group(numbered(sizes)); }

    Inventory inventory;
    CandidateList candidates;
    SearchState state;
    test::RecordingObserver observer;
};

TEST_F(SizeGrouping, EmptyInventoryYieldsNothing)
{
    EXPECT_TRUE(group(std::vector<std::uint64_t> {}).empty());
    EXPECT_EQ(state.CandidateCount, 0U);
    EXPECT_TRUE(observer.statuses.empty());
}

TEST_F(SizeGrouping, OneLineStaysAndFormsNoGroup)
{
    EXPECT_TRUE(group(std::vector<std::uint64_t> {5}).empty());
    EXPECT_EQ(observer.statuses, percentages({0}));
}

TEST_F(SizeGrouping, UniqueSizesAreDropped)
{
    EXPECT_TRUE(group(std::vector<std::uint64_t> {1, 2, 3}).empty());
    EXPECT_EQ(state.CandidateCount, 0U);
}

TEST_F(SizeGrouping, GroupsAreRunsOfOneSize)
{
    EXPECT_EQ(group(std::vector<std::uint64_t> {5, 5, 7, 7, 7, 9}), (Lines {"p1", "p2", "", "p3", "p4", "p5"}));
    EXPECT_EQ(state.CandidateCount, 5U);
}

TEST_F(SizeGrouping, OddGroupKeepsItsLastLine)
{
    EXPECT_EQ(group(std::vector<std::uint64_t> {5, 5, 5}), (Lines {"p1", "p2", "p3"}));
}

TEST_F(SizeGrouping, EmptyFilesFormAGroupLikeAnyOther)
{
    EXPECT_EQ(group(std::vector<std::uint64_t> {0, 0, 3}), (Lines {"p1", "p2"}));
}

TEST_F(SizeGrouping, KeysCompareAsTextAndNeverInterleave)
{
    EXPECT_EQ(group(Files {{"e", 5}, {"c", 123}, {"b", 12}, {"D", 123}, {"A", 12}, {"f", 5}}),
        (Lines {"A", "b", "", "c", "D", "", "e", "f"}));
}

TEST_F(SizeGrouping, TenLinesInPairsShowTheSortingPercentages)
{
    group(std::vector<std::uint64_t> {1, 1, 2, 2, 3, 3, 4, 4, 5, 5});
    EXPECT_EQ(candidates.groupCount(), 5U);
    EXPECT_EQ(state.SortProgressBase, 50);
    EXPECT_EQ(observer.statuses, percentages({0, 6, 12, 17, 23, 28, 34, 39, 45, 50, 95}));
}

TEST_F(SizeGrouping, FourLinesOfOneSizeStayAtTheBase)
{
    EXPECT_EQ(group(std::vector<std::uint64_t> {4, 4, 4, 4}), (Lines {"p1", "p2", "p3", "p4"}));
    EXPECT_EQ(observer.statuses, percentages({0, 18, 34, 50}));
    EXPECT_EQ(state.SearchIndex, 4);
}

TEST_F(SizeGrouping, PrePassDeletesTheLastLineWithAUniqueSize)
{
    group(std::vector<std::uint64_t> {5, 5, 7});
    // positions 0, 1 and then 2, where the unique last line goes
    EXPECT_EQ(observer.statuses, percentages({0, 26, 50}));
    EXPECT_EQ(state.SortProgressBase, 50);
}

TEST_F(SizeGrouping, MembersOfAGroupAreInPathOrderIgnoringCase)
{
    EXPECT_EQ(group(Files {{"b.txt", 3}, {"Ä.txt", 3}, {"A.txt", 3}}), (Lines {"A.txt", "b.txt", "Ä.txt"}));
}

TEST(SizeKeyOrder, IsTheOrderOfTheDecimalTexts)
{
    std::vector<std::uint64_t> keys {0, 1, 9, 10, 11, 19, 2, 99, 100, 101, 1000000000000000000ULL,
        9999999999999999999ULL, 10000000000000000000ULL, 10000000000000000005ULL, 18446744073709551615ULL,
        1844674407370955161ULL, 184467440737095516ULL};
    std::mt19937_64 random(7);
    for (int i = 0; i < 200; ++i)
        keys.push_back(random() >> (random() % 64));
    for (const std::uint64_t a : keys) {
        for (const std::uint64_t b : keys)
            ASSERT_EQ(keyTextBefore(a, b), std::to_string(a) < std::to_string(b)) << a << " " << b;
    }
}

// Files of one size in folders that lie in one another, differ in case only or share the
// start of a name: the group is in the order of the whole paths, whether the folder list
// is sorted (as a search gives it) or not.
TEST(SizeGroupingPaths, FollowTheOrderOfTheWholePathsAcrossFolders)
{
    const std::vector<std::string> names {"a", "A", "b", "ä", "Ä", "a b", "ab", "a.b", "z"};
    const auto byPath = [](const std::string &a, const std::string &b) { return fs::collatesBefore(a, b); };
    std::mt19937 random(11);
    for (const bool sorted : {true, false}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<std::string> folders {"/"};
            for (int f = 0; f < 12; ++f) {
                std::string folder = folders[random() % folders.size()];
                folders.push_back(folder + names[random() % names.size()] + "/");
            }
            std::sort(folders.begin(), folders.end(), byPath);
            folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
            if (!sorted)
                std::shuffle(folders.begin(), folders.end(), random);
            Inventory inventory;
            inventory.tops.push_back({"/", fs::OwnedHandle {}, {}});
            std::vector<std::string> expected;
            for (const std::string &folder : folders) {
                const std::uint32_t index = inventory.addFolder(folder, 0);
                for (std::size_t n = random() % 3; n > 0; --n) {
                    const std::string &name = names[random() % names.size()];
                    fs::FileStamp stamp;
                    stamp.size = 42;
                    inventory.addFile(index, name, stamp, false);
                    expected.push_back(folder + name);
                }
            }
            std::sort(expected.begin(), expected.end(), byPath);
            SearchState state;
            test::RecordingObserver observer;
            const CandidateList candidates = groupBySize(inventory, state, observer);
            std::vector<std::string> found = candidateLines(candidates, inventory);
            if (expected.size() < 2)
                expected.clear();
            EXPECT_EQ(found, expected) << (sorted ? "sorted" : "unsorted") << " round " << round;
        }
    }
}

} // namespace
} // namespace kw::search
