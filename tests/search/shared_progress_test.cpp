// The status a drawing thread reads while the search counts on.
#include "search/shared_progress.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kw::search
{
namespace
{

TEST(SharedProgress, KindAndCountComeBackAsStored)
{
    SharedProgress progress;
    EXPECT_EQ(progress.word(), 0U);
    EXPECT_EQ(progress.load().kind, ProgressStatus::Kind::None);
    progress.store(ProgressStatus::Kind::Folders, 123456789012ULL);
    EXPECT_EQ(progress.load().kind, ProgressStatus::Kind::Folders);
    EXPECT_EQ(progress.load().value, 123456789012ULL);
    progress.storeTotal(40);
    progress.store(ProgressStatus::Kind::Comparing, 17);
    const std::uint64_t snapshot = progress.word();
    progress.store(ProgressStatus::Kind::Sorting, 99);
    EXPECT_EQ(progress.unpack(snapshot).text(), "17 von 40 Dateien");
    EXPECT_EQ(progress.load().text(), progress.unpack(progress.word()).text());
    progress.reset();
    EXPECT_EQ(progress.word(), 0U);
}

// While one thread counts folders into the millions and then compares a few files, a
// reader never sees a folder count as a position, nor a position as a folder count.
TEST(SharedProgress, AReaderNeverPairsOnePhasesKindWithAnothersCount)
{
    SharedProgress progress;
    progress.storeTotal(10);
    std::atomic<bool> done {false};
    std::thread counting([&] {
        for (std::uint64_t round = 0; round < 20000; ++round) {
            progress.store(ProgressStatus::Kind::Folders, 1'000'000 + round);
            progress.store(ProgressStatus::Kind::Comparing, round % 10);
        }
        done.store(true);
    });
    std::size_t mismatched = 0;
    while (!done.load()) {
        const ProgressStatus seen = progress.load();
        if ((seen.kind == ProgressStatus::Kind::Folders && seen.value < 1'000'000)
            || (seen.kind == ProgressStatus::Kind::Comparing && seen.value >= 10))
            ++mismatched;
    }
    counting.join();
    EXPECT_EQ(mismatched, 0U);
}

} // namespace
} // namespace kw::search
