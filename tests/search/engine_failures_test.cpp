// What the search does when what it needs cannot be had: no threads, no memory, a fault of
// its own. It never aborts, gives the list one thread gives where only threads are missing,
// and says what broke off otherwise.
#include "search/engine.h"
#include "search/ordered_work.h"
#include "search/thread_start.h"

#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace kw::search
{
namespace
{

void plantGroups(test::TempTree &t)
{
    for (int folder = 0; folder < 12; ++folder) {
        for (int file = 0; file < 6; ++file) {
            const std::string content(
                static_cast<std::size_t>(2000 + 1000 * (file % 3)), static_cast<char>('a' + file));
            t.file("d" + std::to_string(folder) + "/f" + std::to_string(file), content);
        }
    }
    t.file("allein/gross", std::string(50000, 'g'));
    t.file("allein/gross2", std::string(50000, 'g'));
}

SearchOutcome searchWith(const test::TempTree &t, unsigned threads, ReadAhead readAhead,
    const SearchHooks *hooks = nullptr, test::RecordingObserver *seen = nullptr)
{
    test::RecordingObserver quiet;
    EngineOptions options;
    options.threads = threads;
    options.readAhead = readAhead;
    options.hooks = hooks;
    return runSearch({t.root(), {}, true, "*.*", {}}, seen != nullptr ? *seen : quiet, options);
}

// The list without the block that holds `path`, and without one separator beside it.
ResultList withoutBlockOf(ResultList lines, const std::string &path)
{
    auto begin = std::find(lines.begin(), lines.end(), path);
    if (begin == lines.end())
        return lines;
    while (begin != lines.begin() && !(begin - 1)->empty())
        --begin;
    auto end = std::find(begin, lines.end(), std::string());
    if (end != lines.end())
        ++end;
    else if (begin != lines.begin())
        --begin;
    lines.erase(begin, end);
    return lines;
}

TEST(EngineFailures, ThreadsThatCannotBeStartedLeaveTheListOfOneThread)
{
    test::TempTree t;
    plantGroups(t);
    const SearchOutcome alone = searchWith(t, 1, ReadAhead::Never);
    ASSERT_FALSE(alone.lines.empty());
    // The first thread to start (a listing helper), a later one, and the read-ahead's.
    for (const unsigned nth : {1U, 2U, 3U, 4U}) {
        for (const ReadAhead readAhead : {ReadAhead::Always, ReadAhead::Never}) {
            const ScopedThreadStartFault noThreads(nth);
            const SearchOutcome outcome = searchWith(t, 4, readAhead);
            EXPECT_EQ(outcome.lines, alone.lines) << nth;
            EXPECT_FALSE(outcome.failure) << nth;
        }
    }
}

TEST(EngineFailures, OrderedWorkWithoutHelpersDoesEveryTaskItselfInOrder)
{
    const ScopedThreadStartFault noThreads(2); // one helper, then none
    OrderedWork<int> work(4, 8, 8);
    EXPECT_EQ(work.threadCount(), 2U);
    work.addHelper();
    EXPECT_EQ(work.threadCount(), 2U);
    for (int i = 0; i < 50; ++i)
        work.add([i](unsigned) { return i * i; });
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(work.take(), i * i);
}

TEST(EngineFailures, AGroupThatThrowsIsReportedWithItsReasonAndTheRestIsListed)
{
    test::TempTree t;
    plantGroups(t);
    const SearchOutcome whole = searchWith(t, 2, ReadAhead::Never);
    SearchHooks hooks;
    hooks.afterLastBlock = [](const std::string &path) {
        if (path.ends_with("/allein/gross"))
            throw std::bad_alloc();
    };
    for (const unsigned threads : {1U, 2U}) {
        test::RecordingObserver seen;
        const SearchOutcome outcome = searchWith(t, threads, ReadAhead::Never, &hooks, &seen);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->reason, std::errc::not_enough_memory);
        // Every other group is there, in its place; the failing one is not.
        EXPECT_EQ(outcome.lines, withoutBlockOf(whole.lines, t.path("allein/gross")));
        EXPECT_EQ(std::count_if(seen.messages.begin(), seen.messages.end(),
                      [](const std::string &m) { return m.starts_with("Unerwarteter Fehler [344]"); }),
            1);
    }
}

TEST(EngineFailures, AFaultOnTheReadAheadsThreadIsReportedAndTheListIsWhole)
{
    test::TempTree t;
    plantGroups(t);
    const SearchOutcome whole = searchWith(t, 2, ReadAhead::Never);
    SearchHooks hooks;
    hooks.readAheadStarted = [] { throw std::runtime_error("Vorauslesen kaputt"); };
    const SearchOutcome outcome = searchWith(t, 2, ReadAhead::Always, &hooks);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->detail, "Vorauslesen kaputt");
    EXPECT_EQ(outcome.lines, whole.lines);
}

TEST(EngineFailures, APhaseThatFailsComparesNothingAndSaysWhy)
{
    test::TempTree t;
    plantGroups(t);
    SearchHooks hooks;
    hooks.afterFolders = [] { throw std::system_error(std::make_error_code(std::errc::too_many_files_open)); };
    const SearchOutcome outcome = searchWith(t, 2, ReadAhead::Never, &hooks);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->reason, std::errc::too_many_files_open);
    EXPECT_TRUE(outcome.lines.empty());
    EXPECT_FALSE(outcome.cancelled);
}

} // namespace
} // namespace kw::search
