// The trash on a second volume, by the freedesktop.org rules, against folders others have
// prepared or spoiled.
#include "fs/trash.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "support/loop_volume.h"
#include "support/other_user.h"
#include "support/scratch_volume.h"
#include "support/temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kw::fs
{
namespace
{

namespace stdfs = std::filesystem;

std::error_code moveFile(Trash &trash, const std::string &path)
{
    const EntryResult found = findEntry(path);
    return found.error ? found.error : trash.moveToTrash(found.entry);
}

class VolumeTrash : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!volume.mounted())
            GTEST_SKIP() << "cannot mount a scratch volume (needs root)";
        own = volume.path(".Trash-" + std::to_string(::geteuid()));
    }

    std::string file(const std::string &relative, const std::string &content)
    {
        const std::string path = volume.path(relative);
        stdfs::create_directories(stdfs::path(path).parent_path());
        EXPECT_TRUE(test::TempTree::writeAt(path, content));
        return path;
    }

    test::TempTree home; // the home trash lies on another volume than the scratch one
    test::ScratchVolume volume;
    std::string own;
    FreedesktopTrash trash {home.path("Trash")};
};

TEST_F(VolumeTrash, FileReachedThroughALinkGoesToTheTopOfItsOwnVolume)
{
    file("sub/x.txt", "inhalt");
    home.symlink("verweis", volume.path("sub"));
    ASSERT_FALSE(moveFile(trash, home.path("verweis/x.txt")));
    EXPECT_EQ(test::readFile(own + "/files/x.txt"), "inhalt");
    EXPECT_FALSE(stdfs::exists(volume.path("sub/.Trash-" + std::to_string(::geteuid()))));
    // the path is recorded where the file really was, relative to the volume's top
    EXPECT_NE(test::readFile(own + "/info/x.txt.trashinfo").find("\nPath=sub/x.txt\n"), std::string::npos);
}

TEST_F(VolumeTrash, TrashFoldersOthersMayWriteInAreNotUsed)
{
    const std::string x = file("x.txt", "inhalt");
    stdfs::create_directories(own + "/files");
    ::chmod(own.c_str(), 0700);
    ::chmod((own + "/files").c_str(), 0777);
    EXPECT_EQ(moveFile(trash, x), Failure::UnsafeTrash);
    EXPECT_EQ(test::readFile(x), "inhalt");

    ::chmod((own + "/files").c_str(), 0700);
    ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0); // someone else's
    EXPECT_EQ(moveFile(trash, x), Failure::UnsafeTrash);
    EXPECT_EQ(test::readFile(x), "inhalt");
}

TEST_F(VolumeTrash, SharedTrashWithoutStickyBitIsPassedOverForTheOwnOne)
{
    const std::string x = file("x.txt", "inhalt");
    stdfs::create_directories(volume.path(".Trash"));
    ::chmod(volume.path(".Trash").c_str(), 0777); // no sticky bit: anyone could take from it
    ASSERT_FALSE(moveFile(trash, x));
    EXPECT_EQ(test::readFile(own + "/files/x.txt"), "inhalt");
    ::chmod(volume.path(".Trash").c_str(), 01777);
    const std::string y = file("y.txt", "zwei");
    ASSERT_FALSE(moveFile(trash, y));
    EXPECT_EQ(test::readFile(volume.path(".Trash/" + std::to_string(::geteuid()) + "/files/y.txt")), "zwei");
}

TEST_F(VolumeTrash, AnEntryAlreadyInTheTrashIsNeverReplaced)
{
    const std::string x = file("x.txt", "neu");
    stdfs::create_directories(own + "/files");
    stdfs::create_directories(own + "/info");
    ::chmod(own.c_str(), 0700);
    stdfs::create_symlink("/nirgends", own + "/files/x.txt"); // a dangling link without its .trashinfo
    ASSERT_FALSE(moveFile(trash, x));
    EXPECT_TRUE(stdfs::is_symlink(own + "/files/x.txt"));
    EXPECT_EQ(test::readFile(own + "/files/x.2.txt"), "neu");
    EXPECT_TRUE(stdfs::exists(own + "/info/x.2.txt.trashinfo"));
}

TEST_F(VolumeTrash, NamesOfUpTo255BytesAreShortenedKeepingTheirExtension)
{
    for (const std::size_t length : {std::size_t {244}, std::size_t {250}, std::size_t {255}}) {
        const std::string name = std::string(length - 4, 'n') + ".jpg";
        const std::string path = file(name, "bild");
        ASSERT_FALSE(moveFile(trash, path)) << length;
        EXPECT_FALSE(stdfs::exists(path));
    }
    std::size_t moved = 0;
    for (const auto &entry : stdfs::directory_iterator(own + "/files")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.ends_with(".jpg")) << name;
        EXPECT_LE(name.size() + 10, 255U) << name;
        EXPECT_TRUE(stdfs::exists(own + "/info/" + name + ".trashinfo")) << name;
        ++moved;
    }
    EXPECT_EQ(moved, 3U);
}

TEST_F(VolumeTrash, FullVolumeIsAnErrorAndTheFileStays)
{
    const std::string x = file("x.txt", "inhalt");
    volume.fill();
    const std::error_code error = moveFile(trash, x);
    EXPECT_TRUE(error);
    EXPECT_EQ(test::readFile(x), "inhalt");
    EXPECT_FALSE(stdfs::exists(own + "/info/x.txt.trashinfo"));
}

TEST(HomeTrash, ALinkTheUserMadeIsFollowedToAFolderOfTheirOwn)
{
    test::TempTree t;
    t.dir("anderswo");
    ::chmod(t.path("anderswo").c_str(), 0700);
    t.symlink("Trash", t.path("anderswo"));
    FreedesktopTrash trash(t.path("Trash"));
    const std::string x = t.file("x.txt", "inhalt");
    ASSERT_FALSE(moveFile(trash, x));
    EXPECT_EQ(test::readFile(t.path("anderswo/files/x.txt")), "inhalt");

    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    // but not to a folder of someone else's
    t.dir("fremd");
    ASSERT_EQ(::chown(t.path("fremd").c_str(), 65534, 65534), 0);
    t.symlink("Trash2", t.path("fremd"));
    FreedesktopTrash foreign(t.path("Trash2"));
    const std::string y = t.file("y.txt", "inhalt");
    EXPECT_EQ(moveFile(foreign, y), Failure::UnsafeTrash);
    EXPECT_TRUE(fileExists(y));
}

// The volumes a desktop mounts for a user from a USB disk or a Windows partition: their file
// systems keep no permissions, so every entry shows 0777 and belongs to the mounting user.
struct PermissionlessCase {
    test::LoopVolume::Kind kind;
    const char *options;
    const char *name;
};

void PrintTo(const PermissionlessCase &row, std::ostream *out)
{
    *out << row.name << " (" << row.options << ")";
}

class PermissionlessVolume : public testing::TestWithParam<PermissionlessCase>
{
};

constexpr int kNobody = 65534;

TEST_P(PermissionlessVolume, TrashOfTheUserWhoMountedItTakesTheFile)
{
    test::LoopVolume volume(GetParam().kind, GetParam().options);
    if (!volume.mounted())
        GTEST_SKIP() << volume.skipReason();
    test::TempTree home;
    home.dir("nobody");
    ASSERT_EQ(::chown(home.path("nobody").c_str(), kNobody, kNobody), 0);
    const std::string file = volume.path("dup.txt");
    // As the user the mount belongs to, as the desktop's automounter gives it.
    const int moved = test::runAsOtherUser([&] {
        if (!test::TempTree::writeAt(file, "kopie"))
            return 10;
        FreedesktopTrash trash(home.path("nobody/Trash"));
        const EntryResult found = findEntry(file);
        if (found.error)
            return 11;
        const std::error_code error = trash.moveToTrash(found.entry);
        return error == Failure::UnsafeTrash ? 12 : error ? 13 : 0;
    });
    ASSERT_EQ(moved, 0);
    const std::string own = volume.path(".Trash-" + std::to_string(kNobody));
    EXPECT_FALSE(stdfs::exists(file));
    EXPECT_EQ(test::readFile(own + "/files/dup.txt"), "kopie");
    EXPECT_NE(test::readFile(own + "/info/dup.txt.trashinfo").find("\nPath=dup.txt\n"), std::string::npos);

    // trash-cli finds it there, as the desktop's file manager does.
    if (std::system("command -v trash-list >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "trash-list (trash-cli) is not installed";
    const std::string listed = home.path("listed.txt");
    const std::string command = "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody)
        + " --clear-groups env HOME=" + home.path("nobody") + " XDG_DATA_HOME=" + home.path("nobody") + " trash-list > "
        + listed + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(test::readFile(listed).find(file), std::string::npos) << test::readFile(listed);
}

TEST_P(PermissionlessVolume, ATrashFolderOfSomeoneElseOrALinkIsStillRefused)
{
    test::LoopVolume volume(GetParam().kind, GetParam().options);
    if (!volume.mounted())
        GTEST_SKIP() << volume.skipReason();
    test::TempTree home; // root's own trash, on another volume
    // As root, on a volume that shows everything as nobody's: the folder is not ours.
    const std::string file = volume.path("dup.txt");
    ASSERT_TRUE(test::TempTree::writeAt(file, "kopie"));
    FreedesktopTrash trash(home.path("Trash"));
    const EntryResult found = findEntry(file);
    ASSERT_FALSE(found.error);
    EXPECT_EQ(trash.moveToTrash(found.entry), Failure::UnsafeTrash);
    EXPECT_EQ(test::readFile(file), "kopie");
}

INSTANTIATE_TEST_SUITE_P(Mounts, PermissionlessVolume,
    testing::Values(PermissionlessCase {test::LoopVolume::Kind::Ntfs, "umask=000,uid=65534,gid=65534", "ntfs"},
        PermissionlessCase {test::LoopVolume::Kind::Exfat, "umask=000,uid=65534,gid=65534", "exfat"},
        PermissionlessCase {test::LoopVolume::Kind::Ntfs, "dmask=077,fmask=177,uid=65534,gid=65534", "ntfs_private"}),
    [](const testing::TestParamInfo<PermissionlessCase> &row) { return std::string(row.param.name); });

TEST(SubvolumeTrash, AFileOnABtrfsSubvolumeGoesToTheSubvolumesOwnTrash)
{
    test::LoopVolume volume(test::LoopVolume::Kind::Btrfs);
    if (!volume.mounted())
        GTEST_SKIP() << volume.skipReason();
    // A home on the volume, its projects on a subvolume of their own: another device, no mount.
    stdfs::create_directories(volume.path("home/jo"));
    const std::string make = "btrfs subvolume create " + volume.path("home/jo/Projekte") + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "btrfs subvolume create failed";
    struct stat top = {};
    struct stat sub = {};
    ASSERT_EQ(::stat(volume.root().c_str(), &top), 0);
    ASSERT_EQ(::stat(volume.path("home/jo/Projekte").c_str(), &sub), 0);
    ASSERT_NE(top.st_dev, sub.st_dev) << "a subvolume is expected to have a device of its own";

    const std::string file = volume.path("home/jo/Projekte/a/dup.c");
    stdfs::create_directories(stdfs::path(file).parent_path());
    ASSERT_TRUE(test::TempTree::writeAt(file, "int x;"));
    FreedesktopTrash trash(volume.path("home/jo/.local/share/Trash"));
    const EntryResult found = findEntry(file);
    ASSERT_FALSE(found.error);
    ASSERT_FALSE(trash.moveToTrash(found.entry));
    const std::string own = volume.path("home/jo/Projekte/.Trash-" + std::to_string(::geteuid()));
    EXPECT_EQ(test::readFile(own + "/files/dup.c"), "int x;");
    EXPECT_NE(test::readFile(own + "/info/dup.c.trashinfo").find("\nPath=a/dup.c\n"), std::string::npos);
}

} // namespace
} // namespace kw::fs
