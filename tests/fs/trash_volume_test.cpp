// The trash on a second volume, by the freedesktop.org rules, against folders others have
// prepared or spoiled.
#include "fs/trash.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "support/scratch_volume.h"
#include "support/temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

} // namespace
} // namespace kw::fs
