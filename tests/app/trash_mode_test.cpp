// kowacht --trash between the search and the moves: what changed in between stays.
#include "app/kowacht/trash_mode.h"

#include "search/engine.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace kw::app
{
namespace
{

class TrashMode : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("a/x.txt", "gleich");
        t.file("b/x.txt", "gleich");
        t.file("c/x.txt", "gleich");
        search::NullObserver quiet;
        search::EngineOptions options;
        options.keepRecords = true;
        outcome = search::runSearch({t.root(), {}, true, "*.*", {}}, quiet, options);
        ASSERT_EQ(outcome.lines.size(), 3U);
    }
    bool carryOut(const std::vector<std::string> &keepIn = {}, bool dryRun = false)
    {
        ProgressLine quietly(stderr_, LiveDisplay::None);
        return carryOutTrash(planTrash(outcome.lines, keepIn), outcome.records.get(), trash, dryRun, quietly);
    }

    test::TempTree t;
    std::FILE *stderr_ = std::tmpfile();
    fs::FreedesktopTrash trash {t.path("Trash")};
    search::SearchOutcome outcome;
};

TEST_F(TrashMode, PlanKeepsTheFirstOrWhatLiesBelowTheKeepFolders)
{
    const TrashPlan first = planTrash(outcome.lines, {});
    ASSERT_EQ(first.requests.size(), 2U);
    EXPECT_EQ(first.requests[0].path, t.path("b/x.txt"));
    EXPECT_EQ(first.requests[0].keptCopies, (std::vector<std::string> {t.path("a/x.txt")}));
    const TrashPlan inB = planTrash(outcome.lines, {t.path("b")});
    ASSERT_EQ(inB.requests.size(), 2U);
    EXPECT_EQ(inB.requests[0].path, t.path("a/x.txt"));
    EXPECT_EQ(planTrash(outcome.lines, {t.path("")}).requests.size(), 0U);
    // "…/a/x" is no folder of "…/a/x.txt": the block has nothing to keep and stays whole
    EXPECT_EQ(planTrash(outcome.lines, {t.path("a/x")}).leftAlone, (std::vector<std::string> {t.path("a/x.txt")}));
}

TEST_F(TrashMode, FileChangedAfterTheSearchIsLeftAlone)
{
    const timespec later[2] = {{2'000'000'000, 0}, {2'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, t.path("b/x.txt").c_str(), later, 0), 0);
    EXPECT_FALSE(carryOut());
    EXPECT_TRUE(std::filesystem::exists(t.path("b/x.txt")));
    EXPECT_FALSE(std::filesystem::exists(t.path("c/x.txt")));
}

TEST_F(TrashMode, BlockWhoseKeptCopyVanishedIsLeftAlone)
{
    std::filesystem::remove(t.path("a/x.txt"));
    EXPECT_FALSE(carryOut());
    EXPECT_TRUE(std::filesystem::exists(t.path("b/x.txt")));
    EXPECT_TRUE(std::filesystem::exists(t.path("c/x.txt")));
}

TEST_F(TrashMode, DryRunChecksButMovesNothing)
{
    EXPECT_TRUE(carryOut({}, true));
    EXPECT_TRUE(std::filesystem::exists(t.path("b/x.txt")));
    EXPECT_FALSE(std::filesystem::exists(t.path("Trash/files")));
}

} // namespace
} // namespace kw::app
