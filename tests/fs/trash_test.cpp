#include "fs/trash.h"

#include "fs/file_access.h"
#include "fs/path_text.h"
#include "support/environment.h"
#include "support/temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace kw::fs
{
namespace
{

using Environment = test::ScopedEnvironment;

// Moves the file at `path` as a front end does: found by its folder's handle first.
std::error_code moveFile(Trash &trash, const std::string &path)
{
    const EntryResult found = findEntry(path);
    return found.error ? found.error : trash.moveToTrash(found.entry);
}

dev_t deviceOf(const std::string &path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_dev : 0;
}

TEST(Trash, MovesFileIntoFilesWithItsInfo)
{
    test::TempTree t;
    const Environment dataHome("XDG_DATA_HOME", t.path("daten"));
    const std::string file = t.file("Fotos/strand ä%.jpg", "bild");
    FreedesktopTrash trash;
    EXPECT_EQ(trash.homeTrash(), t.path("daten/Trash"));
    const std::time_t before = std::time(nullptr);
    ASSERT_FALSE(moveFile(trash, file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_EQ(test::readFile(t.path("daten/Trash/files/strand ä%.jpg")), "bild");
    const std::string info = test::readFile(t.path("daten/Trash/info/strand ä%.jpg.trashinfo"));
    EXPECT_EQ(info.substr(0, info.find("DeletionDate=")), "[Trash Info]\nPath=" + trashInfoPath(file) + "\n");
    EXPECT_NE(trashInfoPath(file).find("strand%20%C3%A4%25.jpg"), std::string::npos);
    // the deletion date is now, in local time, as YYYY-MM-DDThh:mm:ss
    std::tm when = {};
    ASSERT_NE(::strptime(info.c_str() + info.find("DeletionDate=") + 13, "%Y-%m-%dT%H:%M:%S", &when), nullptr);
    when.tm_isdst = -1;
    EXPECT_LE(std::abs(std::difftime(std::mktime(&when), before)), 5.0);
}

TEST(Trash, SecondFileOfTheSameNameGetsANameOfItsOwn)
{
    test::TempTree t;
    const Environment dataHome("XDG_DATA_HOME", t.path("daten"));
    FreedesktopTrash trash;
    ASSERT_FALSE(moveFile(trash, t.file("a/bild.jpg", "eins")));
    ASSERT_FALSE(moveFile(trash, t.file("b/bild.jpg", "zwei")));
    EXPECT_EQ(test::readFile(t.path("daten/Trash/files/bild.jpg")), "eins");
    EXPECT_EQ(test::readFile(t.path("daten/Trash/files/bild.2.jpg")), "zwei");
    EXPECT_NE(test::readFile(t.path("daten/Trash/info/bild.2.jpg.trashinfo")).find(trashInfoPath(t.path("b/bild.jpg"))),
        std::string::npos);
}

TEST(Trash, CreatesTheHomeTrashForAUserWithoutLocalShare)
{
    test::TempTree t;
    const std::string home = t.dir("home");
    const Environment homeVariable("HOME", home);
    const Environment noDataHome("XDG_DATA_HOME", ""); // empty counts as unset
    const std::string cwdBefore = currentFolder();
    ASSERT_EQ(::chdir(t.dir("arbeit").c_str()), 0);
    const std::string file = t.file("arbeit/x.txt", "x");
    FreedesktopTrash trash;
    const std::error_code error = moveFile(trash, file);
    ASSERT_EQ(::chdir(cwdBefore.c_str()), 0);
    ASSERT_FALSE(error) << error.message();
    EXPECT_EQ(test::readFile(home + "/.local/share/Trash/files/x.txt"), "x");
    EXPECT_TRUE(fileExists(home + "/.local/share/Trash/info/x.txt.trashinfo"));
    // nothing of the trash in the current folder
    EXPECT_FALSE(std::filesystem::exists(t.path("arbeit/files")));
    EXPECT_FALSE(std::filesystem::exists(t.path("arbeit/info")));
    struct stat status = {};
    ASSERT_EQ(::stat((home + "/.local/share/Trash").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700U);
}

TEST(Trash, FileThatCannotBeMovedStaysWhereItIs)
{
    test::TempTree t;
    const std::string file = t.file("x.txt", "x");
    t.file("kein-ordner", "");
    FreedesktopTrash trash(t.path("kein-ordner/Trash")); // the trash cannot be made
    EXPECT_TRUE(moveFile(trash, file));
    EXPECT_EQ(test::readFile(file), "x");
    FreedesktopTrash other(t.path("Trash"));
    EXPECT_TRUE(moveFile(other, t.path("fehlt.txt")));
}

TEST(Trash, FileOnAnotherVolumeGoesToThatVolumesTrash)
{
    const std::string volume = "/dev/shm";
    test::TempTree t;
    if (deviceOf(volume) == 0 || deviceOf(volume) == deviceOf(t.root()) || ::access(volume.c_str(), W_OK) != 0)
        GTEST_SKIP() << "no writable second volume at " << volume;
    const std::string own = volume + "/.Trash-" + std::to_string(::geteuid());
    const bool trashWasThere = std::filesystem::exists(own);
    const std::string file = volume + "/kw-trash-test-" + std::to_string(::getpid()) + ".txt";
    ASSERT_TRUE(test::TempTree::writeAt(file, "anderswo"));
    FreedesktopTrash trash(t.path("Trash"));
    const std::error_code error = moveFile(trash, file);
    const std::string name = std::string(baseName(file));
    const std::string moved = test::readFile(own + "/files/" + name);
    const std::string info = test::readFile(own + "/info/" + name + ".trashinfo");
    std::filesystem::remove(own + "/files/" + name);
    std::filesystem::remove(own + "/info/" + name + ".trashinfo");
    std::error_code ignored;
    if (!trashWasThere) // leave the volume as the test found it
        std::filesystem::remove_all(own, ignored);

    ASSERT_FALSE(error) << error.message();
    EXPECT_EQ(moved, "anderswo");
    // recorded relative to the top of its volume
    EXPECT_NE(info.find("\nPath=" + name + "\n"), std::string::npos) << info;
    EXPECT_FALSE(std::filesystem::exists(t.path("Trash/files/" + name)));
}

} // namespace
} // namespace kw::fs
