#include "search/content_compare.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <random>

namespace kw::search
{
namespace
{

using Sets = std::vector<std::vector<std::size_t>>;

// The rule itself, without any cleverness: every member compared with every other, whole.
Sets referenceSets(const std::vector<std::string> &contents)
{
    Sets sets;
    std::vector<bool> listed(contents.size(), false);
    for (std::size_t i = 0; i < contents.size(); ++i) {
        if (listed[i])
            continue;
        std::vector<std::size_t> set = {i};
        for (std::size_t j = i + 1; j < contents.size(); ++j)
            if (!listed[j] && contents[j] == contents[i])
                set.push_back(j), listed[j] = true;
        if (set.size() > 1)
            sets.push_back(set);
    }
    return sets;
}

class ContentCompare : public testing::Test
{
protected:
    Sets compare(const std::vector<std::string> &contents, ContentComparer &comparer)
    {
        group.clear();
        for (std::size_t i = 0; i < contents.size(); ++i)
            group.push_back({t.file("m" + std::to_string(i), contents[i]), contents[i].size(), false});
        return comparer.CompFile(group, state);
    }
    Sets compare(const std::vector<std::string> &contents)
    {
        ContentComparer comparer;
        return compare(contents, comparer);
    }

    test::TempTree t;
    std::vector<Candidate> group;
    SearchState state;
};

std::string bytes(std::size_t size, char fill = 'x')
{
    return std::string(size, fill);
}

std::string changedAt(std::string text, std::size_t position)
{
    text[position] = static_cast<char>(text[position] ^ 0x5A);
    return text;
}

// Differences where the reading changes its block size, in the first and the last block.
TEST_F(ContentCompare, DifferencesAtEveryBlockEdge)
{
    const std::size_t size = 1536 * 1024 + 7;
    const std::string base = bytes(size);
    for (const std::size_t position :
        {std::size_t {0}, std::size_t {1023}, std::size_t {1024}, std::size_t {64 * 1024 - 1}, std::size_t {64 * 1024},
            std::size_t {320 * 1024}, std::size_t {1024 * 1024}, size - 1}) {
        EXPECT_EQ(compare({base, changedAt(base, position)}), Sets {}) << "difference at " << position;
    }
    EXPECT_EQ(compare({base, base}), (Sets {{0, 1}}));
}

TEST_F(ContentCompare, OldShortReadCases)
{
    EXPECT_EQ(compare({changedAt(bytes(1500), 1499), bytes(1500)}), Sets {});
    EXPECT_EQ(compare({bytes(1024), bytes(1024)}), (Sets {{0, 1}}));
    // zero bytes past a short read used to pass for content
    EXPECT_EQ(compare({std::string(1024, '\0'), std::string(1024, '\0')}), (Sets {{0, 1}}));
}

TEST_F(ContentCompare, ShortFileIsNotEqualToAZeroPaddedOne)
{
    // Listed with the same size, one of them has been cut short since.
    const std::string full = std::string(2000, '\0');
    group = {{t.file("a", full), 2000, false}, {t.file("b", std::string(1000, '\0')), 2000, false}};
    ContentComparer comparer;
    EXPECT_EQ(comparer.CompFile(group, state), Sets {});
}

TEST_F(ContentCompare, MatchesThePairwiseRuleOnRandomGroups)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 300000)(random);
        const std::size_t variants = std::uniform_int_distribution<std::size_t>(1, 5)(random);
        std::vector<std::string> patterns;
        for (std::size_t v = 0; v < variants; ++v) {
            std::string content = bytes(size, 'q');
            if (size > 0 && v > 0)
                content = changedAt(content, std::uniform_int_distribution<std::size_t>(0, size - 1)(random));
            patterns.push_back(content);
        }
        std::vector<std::string> contents;
        const std::size_t members = std::uniform_int_distribution<std::size_t>(2, 14)(random);
        for (std::size_t m = 0; m < members; ++m)
            contents.push_back(patterns[std::uniform_int_distribution<std::size_t>(0, variants - 1)(random)]);
        ContentComparer comparer(3); // fewer open files than members: files are closed and opened again
        EXPECT_EQ(compare(contents, comparer), referenceSets(contents)) << "round " << round;
    }
}

TEST_F(ContentCompare, LargeGroupWithFewOpenFilesAndSmallBlockBudget)
{
    std::vector<std::string> contents;
    for (int i = 0; i < 300; ++i) {
        std::string content = "inhalt-" + std::to_string(i % 37);
        content.resize(4000, 'z');
        contents.push_back(content);
    }
    // Eight open files and room for only a few stored blocks: blocks are read again.
    ContentComparer comparer(8, 3 * 4001);
    EXPECT_EQ(compare(contents, comparer), referenceSets(contents));
}

TEST_F(ContentCompare, UnreadableMembersComeFromTheInventory)
{
    group = {{t.file("a", "xy"), 2, false}, {t.file("b", "xy"), 2, true}, {t.file("c", "xy"), 2, false}};
    ContentComparer comparer;
    EXPECT_EQ(comparer.CompFile(group, state), (Sets {{0, 2}}));
}

} // namespace
} // namespace kw::search
