// Shared blocks and hard links on real volumes made for the test.
#include "fs/entry.h"
#include "fs/failure.h"
#include "fs/links.h"
#include "support/file_facts.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace kw::fs
{
namespace
{

using test::entriesIn;
using test::statusOf;

namespace stdfs = std::filesystem;
using test::LoopVolume;

// Bytes that no file system compresses or finds twice: 3 MiB and an odd tail, so that the
// kernel's chunks and the last partial block both come into play.
std::string contents(unsigned seed, std::size_t size = (3u << 20) + 1234)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

Entry entryOf(const std::string &path)
{
    EntryResult found = findEntry(path);
    EXPECT_FALSE(found.error) << path << ": " << found.error.message();
    return std::move(found.entry);
}

std::vector<Extent> extents(const std::string &path)
{
    const Opened opened = openRegularFile(path);
    EXPECT_FALSE(opened.error);
    return extentsOf(opened.fd.get()).value_or(std::vector<Extent> {});
}

std::error_code share(const std::string &kept, const std::string &duplicate)
{
    const Opened a = openRegularFile(kept);
    const Opened b = openRegularFile(duplicate);
    EXPECT_FALSE(a.error || b.error);
    return shareBlocks(a.fd.get(), b.fd.get(), stdfs::file_size(duplicate));
}

class SharedBlocks : public ::testing::TestWithParam<LoopVolume::Kind>
{
};

TEST_P(SharedBlocks, EqualFilesShareTheirExtentsAndKeepEverythingElse)
{
    LoopVolume volume(GetParam());
    if (!volume.mounted())
        GTEST_SKIP() << volume.skipReason();
    const std::string bytes = contents(1);
    ASSERT_TRUE(test::TempTree::writeAt(volume.path("kept"), bytes));
    ASSERT_TRUE(test::TempTree::writeAt(volume.path("copy"), bytes));
    ::chmod(volume.path("copy").c_str(), 0640);
    const struct stat before = statusOf(volume.path("copy"));
    EXPECT_TRUE(mayShareBlocks(volume.root()));

    ASSERT_FALSE(share(volume.path("kept"), volume.path("copy")));
    const std::vector<Extent> kept = extents(volume.path("kept"));
    const std::vector<Extent> copy = extents(volume.path("copy"));
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(kept, copy);
    for (const Extent &extent : copy)
        EXPECT_TRUE(extent.shared) << extent.logical;
    const struct stat after = statusOf(volume.path("copy"));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(test::readFile(volume.path("copy")), bytes);

    // Copy on write: a change to one leaves the other as it was.
    ASSERT_TRUE(test::TempTree::writeAt(volume.path("kept"), "anders"));
    EXPECT_EQ(test::readFile(volume.path("copy")), bytes);
}

TEST_P(SharedBlocks, FilesThatDifferAreLeftAsTheyAre)
{
    LoopVolume volume(GetParam());
    if (!volume.mounted())
        GTEST_SKIP() << volume.skipReason();
    std::string other = contents(2);
    const std::string bytes = other;
    other[other.size() - 10] ^= 1; // in the last chunk, after the first ones were equal
    ASSERT_TRUE(test::TempTree::writeAt(volume.path("kept"), bytes));
    ASSERT_TRUE(test::TempTree::writeAt(volume.path("copy"), other));
    EXPECT_EQ(share(volume.path("kept"), volume.path("copy")), Failure::ContentsDiffer);
    EXPECT_EQ(test::readFile(volume.path("copy")), other);
    EXPECT_EQ(test::readFile(volume.path("kept")), bytes);
}

INSTANTIATE_TEST_SUITE_P(Volumes, SharedBlocks, ::testing::Values(LoopVolume::Kind::Btrfs, LoopVolume::Kind::Xfs),
    [](const auto &named) { return named.param == LoopVolume::Kind::Btrfs ? "Btrfs" : "Xfs"; });

TEST(SharedBlocksElsewhere, AVolumeThatCannotShareSaysSo)
{
    LoopVolume ext4(LoopVolume::Kind::Ext4);
    if (!ext4.mounted())
        GTEST_SKIP() << ext4.skipReason();
    const std::string bytes = contents(3, 5000);
    ASSERT_TRUE(test::TempTree::writeAt(ext4.path("kept"), bytes));
    ASSERT_TRUE(test::TempTree::writeAt(ext4.path("copy"), bytes));
    EXPECT_FALSE(mayShareBlocks(ext4.root()));
    EXPECT_EQ(share(ext4.path("kept"), ext4.path("copy")), Failure::CannotShareBlocks);
    // Nor across volumes.
    LoopVolume btrfs(LoopVolume::Kind::Btrfs);
    if (!btrfs.mounted())
        GTEST_SKIP() << btrfs.skipReason();
    ASSERT_TRUE(test::TempTree::writeAt(btrfs.path("copy"), bytes));
    EXPECT_EQ(share(ext4.path("kept"), btrfs.path("copy")), Failure::CannotShareBlocks);
    EXPECT_EQ(test::readFile(btrfs.path("copy")), bytes);
}

TEST(HardLinks, TheDuplicateBecomesTheKeptFileAndNoOtherNameStays)
{
    test::TempTree t;
    const std::string kept = t.file("a/x", "gleich");
    const std::string duplicate = t.file("b/y", "gleich");
    ASSERT_FALSE(replaceByHardLink(entryOf(kept), entryOf(duplicate)));
    EXPECT_EQ(statusOf(duplicate).st_ino, statusOf(kept).st_ino);
    EXPECT_EQ(statusOf(kept).st_nlink, 2U);
    EXPECT_EQ(entriesIn(t.path("b")), 1U);
    EXPECT_EQ(test::readFile(duplicate), "gleich");
}

TEST(HardLinks, AFailureAtAnyStepLeavesTheDuplicateAndNothingElse)
{
    for (const LinkStep step : {LinkStep::Link, LinkStep::Check, LinkStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        test::TempTree t;
        const std::string kept = t.file("a/x", "gleich");
        const std::string duplicate = t.file("b/y", "gleich");
        const ino_t inode = statusOf(duplicate).st_ino;
        const Entry keptEntry = entryOf(kept);
        const Entry duplicateEntry = entryOf(duplicate);
        {
            const ScopedLinkStepFault fault(step);
            EXPECT_EQ(replaceByHardLink(keptEntry, duplicateEntry), std::errc::io_error);
        }
        EXPECT_EQ(statusOf(duplicate).st_ino, inode);
        EXPECT_EQ(statusOf(kept).st_nlink, 1U);
        EXPECT_EQ(entriesIn(t.path("b")), 1U);
    }
}

TEST(HardLinks, TwoNamesOfOneFileOrTwoVolumesChangeNothing)
{
    test::TempTree t;
    const std::string kept = t.file("a/x", "gleich");
    const std::string second = t.hardlink("a/y", "a/x");
    EXPECT_EQ(replaceByHardLink(entryOf(kept), entryOf(second)), Failure::SameFileUnderOtherName);
    EXPECT_EQ(entriesIn(t.path("a")), 2U);

    // A duplicate that was swapped for another file after it was found stays.
    const std::string duplicate = t.file("b/y", "gleich");
    const Entry found = entryOf(duplicate);
    t.remove("b/y");
    t.file("b/y", "gleich, aber neu"); // perhaps under the same inode number
    EXPECT_EQ(replaceByHardLink(entryOf(kept), found), Failure::NotTheSearchedFile);
    EXPECT_EQ(test::readFile(duplicate), "gleich, aber neu");
    EXPECT_EQ(entriesIn(t.path("b")), 1U);

    LoopVolume ext4(LoopVolume::Kind::Ext4);
    if (!ext4.mounted())
        GTEST_SKIP() << ext4.skipReason();
    ASSERT_TRUE(test::TempTree::writeAt(ext4.path("y"), "gleich"));
    EXPECT_EQ(replaceByHardLink(entryOf(kept), entryOf(ext4.path("y"))), Failure::OtherVolume);
    EXPECT_EQ(entriesIn(ext4.root()), 2U); // y and lost+found
}

} // namespace
} // namespace kw::fs
