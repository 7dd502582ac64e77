#include "search/comparison.h"

#include "fs/file_access.h"
#include "search/texts.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

class Comparison : public testing::Test
{
protected:
    void TearDown() override { fs::setOpenFault(nullptr); }

    // Files named by content; each vector is one size group in candidate order.
    std::vector<std::string> run(const std::vector<std::vector<std::pair<std::string, std::string>>> &groups)
    {
        for (const auto &group : groups) {
            std::vector<Candidate> members;
            for (const auto &[name, content] : group)
                members.push_back({t.file(name, content), content.size(), false});
            state.CandidateCount += members.size();
            candidates.appendGroup(std::move(members));
        }
        ContentComparer comparer;
        result = Tcomp(candidates, state, observer, comparer);
        std::vector<std::string> names;
        for (const std::string &line : result.lines)
            names.push_back(line.empty() ? "" : line.substr(t.root().size() + 1));
        return names;
    }

    test::TempTree t;
    CandidateList candidates;
    SearchState state;
    test::RecordingObserver observer;
    ComparisonResult result;
};

using Lines = std::vector<std::string>;

TEST_F(Comparison, EmptyCandidateListFindsNothing)
{
    EXPECT_TRUE(run({}).empty());
    EXPECT_EQ(state.FoundCount, "0");
    EXPECT_EQ(observer.captions, (Lines {"Dateien Vergleichen"}));
}

TEST_F(Comparison, BlocksFollowTheirFirstMembers)
{
    EXPECT_EQ(
        run({{{"F1", "aaaa"}, {"F2", "bbbb"}, {"F3", "bbbb"}, {"F4", "aaaa"}}}), (Lines {"F1", "F4", "", "F2", "F3"}));
    EXPECT_EQ(state.FoundCount, "4");
}

TEST_F(Comparison, AllEqualIsOneBlock)
{
    EXPECT_EQ(run({{{"F1", "x"}, {"F2", "x"}, {"F3", "x"}}}), (Lines {"F1", "F2", "F3"}));
}

TEST_F(Comparison, OnlyEqualMembersAreListed)
{
    EXPECT_EQ(run({{{"F1", "abc"}, {"F2", "xyz"}, {"F3", "xyz"}}}), (Lines {"F2", "F3"}));
}

TEST_F(Comparison, GroupsAreSeparatedByOneEmptyLine)
{
    EXPECT_EQ(
        run({{{"F1", "ab"}, {"F2", "ab"}}, {{"F3", "abc"}, {"F4", "abc"}}}), (Lines {"F1", "F2", "", "F3", "F4"}));
}

TEST_F(Comparison, GroupWithoutEqualFilesLeavesNoEmptyLine)
{
    EXPECT_EQ(run({{{"F1", "ab"}, {"F2", "ab"}}, {{"F3", "abc"}, {"F4", "xyz"}}, {{"F5", "1234"}, {"F6", "1234"}}}),
        (Lines {"F1", "F2", "", "F5", "F6"}));
}

TEST_F(Comparison, ReportsOnePositionPerCandidateLine)
{
    run({{{"F1", "ab"}, {"F2", "ab"}}, {{"F3", "abc"}, {"F4", "abc"}}});
    EXPECT_EQ(observer.statuses,
        (Lines {"1 von 4 Dateien", "2 von 4 Dateien", "3 von 4 Dateien", "3 von 4 Dateien", "4 von 4 Dateien"}));
    EXPECT_EQ(state.ComparedCount, 4U);
}

TEST_F(Comparison, EmptyFilesAreEqual)
{
    EXPECT_EQ(run({{{"E1", ""}, {"E2", ""}, {"E3", ""}}}), (Lines {"E1", "E2", "E3"}));
}

TEST_F(Comparison, WidthProbeIsTheLastMemberOfEachListingGroup)
{
    run({{{"F1", "ab"}, {"F2", "ab"}, {"F3", "xy"}}, {{"G1", "abc"}, {"G2", "xyz"}}});
    EXPECT_EQ(result.widthProbes, (Lines {t.path("F3")}));
}

TEST_F(Comparison, UnreadableMemberIsEqualToNothingAndHidesNothing)
{
    fs::setOpenFault([](std::string_view path) { return path.ends_with("/F2"); });
    // the last group too: one bad file must not cost the other results
    EXPECT_EQ(run({{{"A1", "ab"}, {"A2", "ab"}}, {{"F1", "abc"}, {"F2", "abc"}, {"F3", "abc"}}}),
        (Lines {"A1", "A2", "", "F1", "F3"}));
}

TEST_F(Comparison, FileChangedSinceTheInventoryIsEqualToNothing)
{
    const std::string f1 = t.file("F1", "abcd");
    const std::string f2 = t.file("F2", "abcd");
    const std::string f3 = t.file("F3", "abcd");
    t.file("F2", "abcde"); // grew after it was listed with 4 bytes
    std::vector<Candidate> members = {{f1, 4, false}, {f2, 4, false}, {f3, 4, false}};
    state.CandidateCount = 3;
    candidates.appendGroup(std::move(members));
    ContentComparer comparer;
    EXPECT_EQ(Tcomp(candidates, state, observer, comparer).lines, (Lines {f1, f3}));
}

} // namespace
} // namespace kw::search
