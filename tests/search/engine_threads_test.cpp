// The search on several threads gives what it gives on one, also at the tightest limits.
#include "search/engine.h"

#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

// A tree of many folders, groups of every kind and the special entries a walk must skip.
void plantTree(test::TempTree &t)
{
    for (int folder = 0; folder < 30; ++folder) {
        const std::string base = "d" + std::to_string(folder % 7) + "/e" + std::to_string(folder) + "/";
        for (int file = 0; file < 12; ++file) {
            const int size = 1 + (file * 37 + folder) % 9;
            std::string content(static_cast<std::size_t>(size * 1000), static_cast<char>('a' + file % 3));
            if (file % 5 == 0)
                content.back() = static_cast<char>('0' + folder % 4);
            t.file(base + "f" + std::to_string(file) + ".bin", content);
        }
        t.file(base + "leer" + std::to_string(folder), "");
    }
    t.file("d1/.versteckt", "aaa");
    t.symlink("d2/verweis", t.path("d1"));
    t.fifo("d3/rohr");
    t.file("d4/zwei\nzeilen", "x");
}

struct Seen {
    ResultList lines;
    std::vector<std::string> statuses;
    std::vector<std::string> messages;
    std::string caption;
};

Seen searchWith(const test::TempTree &t, unsigned threads, std::size_t openFiles = 0, std::size_t budget = 0)
{
    test::RecordingObserver observer;
    EngineOptions options;
    options.threads = threads;
    options.maxOpenFiles = openFiles;
    options.storedBlockBudget = budget;
    const SearchOutcome outcome = runSearch({t.root(), {}, true, "*.*", {}}, observer, options);
    return {outcome.lines, observer.statuses, observer.messages, outcome.caption()};
}

TEST(EngineThreads, EveryThreadCountGivesTheListAndReportsOfOne)
{
    test::TempTree t;
    plantTree(t);
    const Seen alone = searchWith(t, 1);
    ASSERT_FALSE(alone.lines.empty());
    for (const unsigned threads : {2U, 3U, 8U}) {
        const Seen many = searchWith(t, threads);
        EXPECT_EQ(many.lines, alone.lines) << threads;
        EXPECT_EQ(many.statuses, alone.statuses) << threads;
        EXPECT_EQ(many.messages, alone.messages) << threads;
        EXPECT_EQ(many.caption, alone.caption) << threads;
    }
}

TEST(EngineThreads, TwoOpenFilesAndATinyBlockBudgetOnFourThreads)
{
    test::TempTree t;
    plantTree(t);
    const Seen alone = searchWith(t, 1);
    const Seen tight = searchWith(t, 4, 2, 3000);
    EXPECT_EQ(tight.lines, alone.lines);
    EXPECT_EQ(tight.caption, alone.caption);
}

} // namespace
} // namespace kw::search
