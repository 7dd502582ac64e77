// The search on several threads gives what it gives on one, also at the tightest limits.
#include "search/engine.h"

#include "support/page_cache.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

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

Seen searchWith(const test::TempTree &t, unsigned threads, std::size_t openFiles = 0, std::size_t budget = 0,
    std::optional<std::size_t> folderHandles = std::nullopt, ReadAhead readAhead = ReadAhead::WhenWaiting)
{
    test::RecordingObserver observer;
    EngineOptions options;
    options.threads = threads;
    options.readAhead = readAhead;
    options.maxOpenFiles = openFiles;
    options.storedBlockBudget = budget;
    options.folderHandles = folderHandles;
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

// Reading ahead only fills the page cache; what is compared and reported stays the same.
TEST(EngineThreads, ReadingAheadInDiskOrderChangesNothing)
{
    test::TempTree t;
    plantTree(t);
    const Seen plain = searchWith(t, 1, 0, 0, std::nullopt, ReadAhead::Never);
    for (const unsigned threads : {1U, 3U}) {
        const Seen ahead = searchWith(t, threads, 2, 3000, std::nullopt, ReadAhead::Always);
        EXPECT_EQ(ahead.lines, plain.lines) << threads;
        EXPECT_EQ(ahead.statuses, plain.statuses) << threads;
        EXPECT_EQ(ahead.messages, plain.messages) << threads;
        EXPECT_EQ(ahead.caption, plain.caption) << threads;
    }
}

// Files are opened from their folder's handle, from one above it, or from the top folder's,
// as the handles last; the list is the same whichever.
TEST(EngineThreads, FolderHandlesForSomeFoldersOrNoneGiveTheSameList)
{
    test::TempTree t;
    plantTree(t);
    const Seen all = searchWith(t, 2);
    for (const std::size_t handles : {0U, 1U, 5U, 20U}) {
        for (const unsigned threads : {1U, 3U}) {
            const Seen some = searchWith(t, threads, 0, 0, handles);
            EXPECT_EQ(some.lines, all.lines) << handles << " handles, " << threads << " threads";
            EXPECT_EQ(some.messages, all.messages) << handles << " handles, " << threads << " threads";
        }
    }
}

// A folder below a top folder that is a link is never opened from the handle of a folder
// above the link, though the path text runs through it: the link would not be followed.
TEST(EngineThreads, FilesBelowALinkedTopFolderAreOpenedFromThatTopFolder)
{
    test::TempTree t;
    test::TempTree elsewhere;
    t.file("eins.txt", "allein");
    elsewhere.file("x/a.txt", "gleich");
    elsewhere.file("x/b.txt", "gleich");
    t.symlink("verweis", elsewhere.root());
    test::RecordingObserver observer;
    EngineOptions options;
    options.threads = 1;
    options.folderHandles = 1; // the first folder with files: the start folder
    const SearchRequest request {t.path("verweis"), {{t.root() + "/", true}}, true, "*.*", {}};
    const SearchOutcome outcome = runSearch(request, observer, options);
    EXPECT_EQ(outcome.lines, (ResultList {t.path("verweis/x/a.txt"), t.path("verweis/x/b.txt")}));
    EXPECT_EQ(observer.messages, std::vector<std::string> {});
}

// With the threads left to the engine, a comparison whose first blocks come from the disk
// gets more threads, and the list stays what one thread makes of it.
TEST(EngineThreads, ThreadsAreAddedWhileTheComparisonWaitsForTheDisk)
{
    test::TempTree t;
    std::vector<std::string> files;
    for (int i = 0; i < 400; ++i) // one size group: every first block is read
        files.push_back(t.file("d" + std::to_string(i % 20) + "/f" + std::to_string(i),
            std::string(20000, static_cast<char>('a' + i % 7)) + std::to_string(i % 50 + 100)));
    test::RecordingObserver quiet;
    EngineOptions one;
    one.threads = 1;
    const ResultList alone = runSearch({t.root(), {}, true, "*.*", {}}, quiet, one).lines;
    ASSERT_FALSE(alone.empty());
    EngineOptions left; // threads: as the engine sees fit
    left.readAhead = ReadAhead::Never; // nothing brings the blocks in before they are read
    // Whether the reads wait depends on the disk and on what else the machine does at the
    // moment (another process's reads can bring the pages in): a few tries, each from a
    // dropped cache. A search that never adds a thread fails every one of them.
    unsigned most = 0;
    for (int attempt = 0; attempt < 3 && most <= left.threadCount(); ++attempt) {
        for (const std::string &file : files)
            ASSERT_TRUE(test::dropFromMemory(file));
        const auto inMemory = std::count_if(files.begin(), files.end(), test::firstPageInMemory);
        if (inMemory > 40)
            GTEST_SKIP() << "the file system of " << t.root() << " keeps its files in memory";
        const SearchOutcome outcome = runSearch({t.root(), {}, true, "*.*", {}}, quiet, left);
        EXPECT_EQ(outcome.lines, alone);
        EXPECT_LE(outcome.comparisonThreads, left.maxThreadCount());
        most = std::max(most, outcome.comparisonThreads);
    }
    EXPECT_GT(most, left.threadCount());
}

} // namespace
} // namespace kw::search
