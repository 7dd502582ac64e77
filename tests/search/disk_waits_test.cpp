// More threads are asked for while reads wait for the disk, and only then.
#include "search/disk_waits.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace kw::search
{
namespace
{

// A window is 64 reads; more than a quarter of them waiting asks for threads once.
TEST(DiskWaits, AskForThreadsWhenMoreThanAQuarterOfAWindowWaited)
{
    int asked = 0;
    DiskWaits waits([&asked] { ++asked; });
    const auto window = [&waits](int waited) {
        for (int read = 0; read < 64; ++read)
            waits.note(read < waited);
    };
    window(16);
    EXPECT_EQ(asked, 0);
    window(17);
    EXPECT_EQ(asked, 1);
    window(0); // the waits of one window do not carry into the next
    EXPECT_EQ(asked, 1);
    window(64);
    EXPECT_EQ(asked, 2);
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
