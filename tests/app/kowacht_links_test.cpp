// kowacht --reflink and --hardlink on real volumes.
#include "fs/links.h"
#include "kowacht_runner.h"
#include "support/file_facts.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kw::test
{
namespace
{

using test::extentsOf;
using test::inodeOf;
using test::shareAllBlocks;

namespace stdfs = std::filesystem;

// Two blocks of equal files on the volume (two and three copies), and one file alone.
void fill(const LoopVolume &volume)
{
    const std::string big(300000, 'x');
    ASSERT_TRUE(TempTree::writeAt(volume.path("eins"), big));
    ASSERT_TRUE(TempTree::writeAt(volume.path("zwei"), big));
    const std::string other(70000, 'y');
    for (const char *name : {"a", "b", "c"})
        ASSERT_TRUE(TempTree::writeAt(volume.path(name), other));
    ASSERT_TRUE(TempTree::writeAt(volume.path("allein"), "z"));
}

TEST(KowachtLinks, ReflinkSharesTheBlocksOfEveryDuplicateAndSaysWhatWasFreed)
{
    LoopVolume btrfs(LoopVolume::Kind::Btrfs);
    if (!btrfs.mounted())
        GTEST_SKIP() << btrfs.skipReason();
    fill(btrfs);
    const ino_t inode = inodeOf(btrfs.path("c"));
    const TempTree t;
    const KowachtRun dry = runKowacht(t, t.root(), {"--reflink", "--dry-run", btrfs.root()});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.err.find("würde Blöcke teilen: " + btrfs.path("zwei")), std::string::npos) << dry.err;
    EXPECT_FALSE(shareAllBlocks(btrfs.path("eins"), btrfs.path("zwei")));

    const KowachtRun run = runKowacht(t, t.root(), {"--reflink", "--stats", btrfs.root()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(shareAllBlocks(btrfs.path("eins"), btrfs.path("zwei")));
    EXPECT_TRUE(shareAllBlocks(btrfs.path("a"), btrfs.path("b")));
    EXPECT_TRUE(shareAllBlocks(btrfs.path("a"), btrfs.path("c")));
    EXPECT_EQ(inodeOf(btrfs.path("c")), inode);
    EXPECT_NE(run.err.find("kowacht: Blöcke geteilt: " + btrfs.path("c")), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Durch die Verknüpfungen frei: 429,7 KiB."), std::string::npos) << run.err;

    // Done once, there is nothing more to share.
    const KowachtRun again = runKowacht(t, t.root(), {"--reflink", "--stats", btrfs.root()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("schon eins mit"), std::string::npos) << again.err;
    EXPECT_NE(again.err.find("Durch die Verknüpfungen frei: 0 Bytes."), std::string::npos) << again.err;
}

TEST(KowachtLinks, ReflinkWhereBlocksCannotBeSharedFailsWithTheReason)
{
    LoopVolume ext4(LoopVolume::Kind::Ext4);
    if (!ext4.mounted())
        GTEST_SKIP() << ext4.skipReason();
    fill(ext4);
    const TempTree t;
    const KowachtRun run = runKowacht(t, t.root(), {"-q", "--reflink", ext4.root()});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("kowacht: nicht ersetzt: " + ext4.path("zwei")
                  + " (dieses Dateisystem kann keine Blöcke "
                    "teilen)"),
        std::string::npos)
        << run.err;
    const KowachtRun dry = runKowacht(t, t.root(), {"-q", "--reflink", "--dry-run", ext4.root()});
    EXPECT_EQ(dry.status, 4);
}

TEST(KowachtLinks, HardlinkMakesOneFileOfEachBlockAndDryRunChangesNothing)
{
    TempTree t;
    t.file("a/eins", "gleich");
    t.file("b/zwei", "gleich");
    t.file("b/drei", "gleich");
    t.file("c/anders", "anders");
    const ino_t before = inodeOf(t.path("b/zwei"));
    const KowachtRun dry = runKowacht(t, t.root(), {"-r", "--hardlink", "--dry-run", "."});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.err.find("würde hart verknüpfen: " + t.path("b/zwei")), std::string::npos) << dry.err;
    EXPECT_EQ(inodeOf(t.path("b/zwei")), before);

    // The files under b stay as they are; the one elsewhere becomes the first of them.
    const ino_t kept = inodeOf(t.path("b/drei"));
    const KowachtRun run = runKowacht(t, t.root(), {"-r", "--hardlink", "--keep-in", "b", "."});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(inodeOf(t.path("a/eins")), kept);
    EXPECT_EQ(inodeOf(t.path("b/zwei")), before);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(t.path("b")), stdfs::directory_iterator()), 2);
    EXPECT_EQ(readFile(t.path("a/eins")), "gleich");
    EXPECT_EQ(readFile(t.path("c/anders")), "anders");

    // Without --keep-in the first file of the block stays: all three paths become one file.
    const KowachtRun all = runKowacht(t, t.root(), {"-r", "--hardlink", "."});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(inodeOf(t.path("b/drei")), kept);
    EXPECT_EQ(inodeOf(t.path("b/zwei")), kept);
}

TEST(KowachtLinks, OnlyOneActionAtATime)
{
    TempTree t;
    t.file("x", "1");
    for (const std::vector<std::string> &args : {std::vector<std::string> {"--trash", "--reflink", "."},
             std::vector<std::string> {"--hardlink", "--reflink", "."}}) {
        const KowachtRun run = runKowacht(t, t.root(), args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("--trash, --reflink und --hardlink schließen einander aus"), std::string::npos)
            << run.err;
    }
}

} // namespace
} // namespace kw::test
