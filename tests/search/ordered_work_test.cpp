// Work done on many threads and taken back in order.
#include "search/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>

#include <chrono>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

namespace kw::search
{
namespace
{

TEST(OrderedWork, ResultsComeInTheOrderGivenWhileHelpersJoin)
{
    for (const unsigned threads : {1U, 2U, 4U}) {
        OrderedWork<int> work(threads, 8, 6);
        std::mutex lock;
        std::set<unsigned> seen;
        for (int i = 0; i < 300; ++i) {
            work.add([&, i](unsigned thread) {
                {
                    const std::lock_guard guard(lock);
                    seen.insert(thread);
                }
                if (i % 50 == 7)
                    work.addHelper(); // as the comparison asks when it waits for the disk
                std::this_thread::sleep_for(std::chrono::microseconds((i * 37) % 200));
                return i * i;
            });
        }
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(work.take(), i * i) << threads;
        const std::lock_guard guard(lock);
        EXPECT_LT(*seen.rbegin(), 6U); // never more threads than allowed
    }
}

TEST(OrderedWork, WhatATaskThrowsComesWithItsResult)
{
    OrderedWork<int> work(3, 4);
    work.add([](unsigned) { return 1; });
    work.add([](unsigned) -> int { throw std::runtime_error("kaputt"); });
    work.add([](unsigned) { return 3; });
    EXPECT_EQ(work.take(), 1);
    EXPECT_THROW(work.take(), std::runtime_error);
    EXPECT_EQ(work.take(), 3);
}

TEST(OrderedWork, TasksLeftWhenItGoesAreNotWaitedFor)
{
    std::atomic<int> ran {0};
    {
        OrderedWork<int> work(2, 4);
        for (int i = 0; i < 100; ++i)
            work.add([&ran](unsigned) { return ran.fetch_add(1) * 0; });
        EXPECT_EQ(work.take(), 0);
    }
    // Gone with 99 left: only what the look-ahead let start ran, never the rest.
    EXPECT_GE(ran.load(), 1);
    EXPECT_LE(ran.load(), 1 + 4);
}

} // namespace
} // namespace kw::search
