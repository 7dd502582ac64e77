// More threads are asked for while reads wait for the disk, and only then.
#include "search/disk_waits.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace kw::search
{
namespace
{

// Reads from memory never ask; now and then one that waits does not either; a phase whose
// reads mostly wait asks, and goes on asking while they do.
TEST(DiskWaits, AskForThreadsOnlyWhileMostReadsWait)
{
    int asked = 0;
    DiskWaits waits([&asked] { ++asked; });
    for (int read = 0; read < 10000; ++read)
        waits.note(false);
    EXPECT_EQ(asked, 0);
    for (int read = 0; read < 10000; ++read)
        waits.note(read % 10 == 0);
    EXPECT_EQ(asked, 0);
    for (int read = 0; read < 1000; ++read)
        waits.note(true);
    EXPECT_GE(asked, 2);
    const int whileWaiting = asked;
    for (int read = 0; read < 10000; ++read)
        waits.note(false); // the waits before do not carry on
    EXPECT_EQ(asked, whileWaiting);
}

TEST(DiskWaits, CountTheReadsOfEveryThread)
{
    std::atomic<int> asked = 0;
    DiskWaits waits([&asked] { ++asked; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&waits] {
            for (int read = 0; read < 64; ++read)
                waits.note(true);
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(asked.load(), 4);
}

} // namespace
} // namespace kw::search
