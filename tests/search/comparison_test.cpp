#include "search/comparison.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "search/texts.h"
#include "support/inventory_builder.h"
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
    using Group = std::vector<std::pair<std::string, std::string>>; // name, content

    // Files named by content; each vector is one size group in candidate order.
    std::vector<std::string> run(const std::vector<Group> &groups, unsigned threads = 1)
    {
        std::vector<std::string> names;
        for (const Group &group : groups) {
            for (const auto &[name, content] : group) {
                t.file(name, content);
                names.push_back(name);
            }
        }
        return compare(groups, names, threads);
    }

    // The groups of files already made (the contents give the sizes).
    std::vector<std::string> compare(
        const std::vector<Group> &groups, const std::vector<std::string> &names, unsigned threads = 1)
    {
        inventory = test::inventoryOf(t.root(), names);
        std::uint32_t next = 0;
        for (const Group &group : groups) {
            std::vector<std::uint32_t> members;
            for (std::size_t m = 0; m < group.size(); ++m)
                members.push_back(next++);
            state.CandidateCount += members.size();
            candidates.appendGroup(members, group.empty() ? 0 : group.front().second.size());
        }
        ComparisonSettings settings;
        settings.threads = threads;
        result = Tcomp(inventory, candidates, state, observer, settings);
        std::vector<std::string> lines;
        for (const std::string &line : result.lines)
            lines.push_back(line.empty() ? "" : line.substr(t.root().size() + 1));
        return lines;
    }

    test::TempTree t;
    Inventory inventory;
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

TEST_F(Comparison, UnreadableMemberIsReportedCountedAndHidesNothing)
{
    const fs::ScopedOpenFault fault([](std::string_view path) { return path.ends_with("/F2"); });
    // the last group too: one bad file must not cost the other results
    EXPECT_EQ(run({{{"A1", "ab"}, {"A2", "ab"}}, {{"F1", "abc"}, {"F2", "abc"}, {"F3", "abc"}}}),
        (Lines {"A1", "A2", "", "F1", "F3"}));
    // a file the permission bits let us read but that cannot be opened all the same
    EXPECT_EQ(observer.messages, (Lines {"Zugriff auf '" + t.path("F2") + "' wurde verweigert!"}));
    EXPECT_EQ(state.AccessErrorCount, 1U);
}

TEST_F(Comparison, FileChangedSinceTheInventoryIsReportedAndEqualToNothing)
{
    for (const char *name : {"F1", "F2", "F3"})
        t.file(name, "abcd");
    const std::vector<Group> groups = {{{"F1", "abcd"}, {"F2", "abcd"}, {"F3", "abcd"}}};
    inventory = test::inventoryOf(t.root(), {"F1", "F2", "F3"});
    t.file("F2", "abcde"); // grew after it was listed with 4 bytes
    candidates.appendGroup(std::vector<std::uint32_t> {0, 1, 2}, 4);
    state.CandidateCount = 3;
    result = Tcomp(inventory, candidates, state, observer, ComparisonSettings {});
    EXPECT_EQ(result.lines, (Lines {t.path("F1"), t.path("F3")}));
    ASSERT_EQ(observer.skips.size(), 1U);
    EXPECT_EQ(observer.skips[0].first, t.path("F2"));
    EXPECT_EQ(observer.skips[0].second, fs::Failure::ChangedDuringSearch);
}

TEST_F(Comparison, SeveralThreadsGiveTheSameListAndReports)
{
    std::vector<Group> groups;
    for (int g = 0; g < 40; ++g) {
        Group group;
        for (int m = 0; m < 5; ++m) {
            const std::string content
                = std::string(static_cast<std::size_t>(g + 1), 'x') + std::to_string(m % (g % 3 + 1));
            group.emplace_back("g" + std::to_string(g) + "-" + std::to_string(m), content);
        }
        groups.push_back(group);
    }
    const Lines alone = run(groups, 1);
    const Lines statuses = observer.statuses;
    observer = {};
    state = {};
    candidates = {};
    std::vector<std::string> names;
    for (const Group &group : groups)
        for (const auto &[name, content] : group)
            names.push_back(name);
    EXPECT_EQ(compare(groups, names, 4), alone);
    EXPECT_EQ(observer.statuses, statuses);
}

} // namespace
} // namespace kw::search
