// Reading ahead of the comparison: which files a window holds and in which order, and that
// what is asked for does come into memory.
#include "search/read_ahead.h"

#include "support/inventory_builder.h"
#include "support/page_cache.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kw::search
{
namespace
{

using Files = std::vector<std::uint32_t>;

using test::dropFromMemory;
using test::firstPageInMemory;

class ReadAheadWindows : public testing::Test
{
protected:
    void SetUp() override
    {
        // Made in an order that leaves the inode numbers unlike the candidate order.
        for (const char *name : {"c", "a", "e", "b", "d", "f", "g", "h"})
            t.file(name, std::string(name[0] < 'f' ? 10000 : name[0] == 'f' ? 0 : 20000, name[0]));
        inventory = test::inventoryOf(t.root(), {"a", "b", "c", "d", "e", "f", "g", "h"});
        candidates.appendGroup(std::vector<std::uint32_t> {0, 1, 2}, 10000);
        candidates.appendGroup(std::vector<std::uint32_t> {3, 4}, 10000);
        candidates.appendGroup(std::vector<std::uint32_t> {5}, 0); // nothing to read
        candidates.appendGroup(std::vector<std::uint32_t> {6, 7}, 20000);
    }

    std::uint64_t inode(std::uint32_t file) const { return inventory.file(file).stamp.identity.inode; }
    Files byInode(Files files) const
    {
        std::sort(files.begin(), files.end(), [this](auto a, auto b) { return inode(a) < inode(b); });
        return files;
    }

    test::TempTree t;
    Inventory inventory;
    CandidateList candidates;
};

TEST_F(ReadAheadWindows, TakeWholeGroupsUntilTheirFirstBlocksFillTheBytes)
{
    // At least one group, however few the bytes.
    ReadAheadWindow window = readAheadWindow(inventory, candidates, 0, 1);
    EXPECT_EQ(window.end, 1U);
    EXPECT_EQ(window.files, byInode({0, 1, 2}));

    // 30,000 bytes are not yet 30,001: the second group comes too.
    window = readAheadWindow(inventory, candidates, 0, 30001);
    EXPECT_EQ(window.end, 2U);
    EXPECT_EQ(window.files, byInode({0, 1, 2, 3, 4}));

    // An empty file has no block to read; a file counts its first block only (16 KiB).
    window = readAheadWindow(inventory, candidates, 1, 20001);
    EXPECT_EQ(window.end, 4U);
    EXPECT_EQ(window.files, byInode({3, 4, 6, 7}));
    window = readAheadWindow(inventory, candidates, 3, 1);
    EXPECT_EQ(window.end, 4U);
    EXPECT_EQ(window.files, byInode({6, 7}));
    EXPECT_NE(byInode({0, 1, 2, 3, 4}), (Files {0, 1, 2, 3, 4})); // the order is the inodes'

    window = readAheadWindow(inventory, candidates, 4, 1 << 20);
    EXPECT_EQ(window.end, 4U);
    EXPECT_TRUE(window.files.empty());
}

TEST_F(ReadAheadWindows, LeaveOutFilesThatCannotBeRead)
{
    inventory.folders[0].files[1].unreadable = true; // "b"
    const ReadAheadWindow window = readAheadWindow(inventory, candidates, 0, 1);
    EXPECT_EQ(window.files, byInode({0, 2}));
}

// Window by window, as the comparison moves on, the first block of every candidate comes
// into the page cache.
TEST_F(ReadAheadWindows, BringTheFirstBlocksIntoMemoryAsTheComparisonMovesOn)
{
    const std::vector<std::string> names {"a", "b", "c", "d", "e", "g", "h"};
    for (const std::string &name : names)
        ASSERT_TRUE(dropFromMemory(t.path(name))) << name;
    if (std::any_of(
            names.begin(), names.end(), [&](const std::string &name) { return firstPageInMemory(t.path(name)); }))
        GTEST_SKIP() << "the file system of " << t.root() << " keeps its files in memory";

    DiskOrderReadAhead readAhead(inventory, candidates, 1, nullptr); // one group a window
    readAhead.start();
    // Once its thread waits for the comparison to come to `group`, it has asked for all it
    // will until the comparison moves on.
    const auto askedBefore = [&](std::size_t group) {
        EXPECT_TRUE(readAhead.awaitIdle(std::chrono::seconds(30)));
        EXPECT_EQ(readAhead.waitingFor(), group);
        return readAhead.filesAsked();
    };
    // Two windows ahead of the comparison, no more: it waits for the comparison to reach
    // the second window.
    const std::size_t second = readAheadWindow(inventory, candidates, 0, 1).end;
    EXPECT_EQ(askedBefore(second), 5U);
    readAhead.reached(second); // the empty group has nothing to read: its window takes the next
    EXPECT_TRUE(readAhead.awaitIdle(std::chrono::seconds(30))); // the last window asked: it ends
    EXPECT_EQ(readAhead.filesAsked(), 7U); // every candidate, and none twice

    for (const std::string &name : names) {
        bool inMemory = false;
        for (int wait = 0; wait < 500 && !inMemory; ++wait) {
            inMemory = firstPageInMemory(t.path(name));
            if (!inMemory)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(inMemory) << name;
    }
}

} // namespace
} // namespace kw::search
