#include "fs/listing.h"

#include "support/other_user.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kw::fs
{
namespace
{

std::set<std::string> namesOf(const FileListing &listing)
{
    std::set<std::string> names;
    for (const FileEntry &file : listing.files)
        names.insert(file.name);
    return names;
}

class Listing : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("Daten/a.txt", "abc");
        t.file("Daten/B.TXT", "de");
        t.file("Daten/c.doc", "");
        t.file("Daten/.d.txt", "hidden");
        t.dir("Daten/Unter");
        t.dir("Daten/.versteckt");
        t.symlink("Daten/link.txt", t.path("Daten/a.txt"));
        t.symlink("Daten/linkdir", t.path("Daten/Unter"));
        t.fifo("Daten/pipe.txt");
    }
    test::TempTree t;
};

TEST_F(Listing, ListsRegularVisibleFilesMatchingTheMask)
{
    EXPECT_EQ(namesOf(listFiles(t.path("Daten"), FileMask("*.txt"))), (std::set<std::string> {"a.txt", "B.TXT"}));
    EXPECT_EQ(
        namesOf(listFiles(t.path("Daten"), FileMask("*.*"))), (std::set<std::string> {"a.txt", "B.TXT", "c.doc"}));
    EXPECT_TRUE(listFiles(t.path("Daten"), FileMask("")).files.empty());
    EXPECT_TRUE(listFiles(t.path("Daten"), FileMask("*.xls")).files.empty());
}

TEST_F(Listing, ReportsSizesFromOneStat)
{
    const FileListing listing = listFiles(t.path("Daten"), FileMask("a.txt;B.TXT"));
    ASSERT_EQ(listing.files.size(), 2U);
    for (const FileEntry &file : listing.files) {
        EXPECT_EQ(file.size, file.name == "a.txt" ? 3U : 2U);
        EXPECT_TRUE(file.readable);
    }
}

TEST_F(Listing, NameMatchingTwoPatternsIsListedOnce)
{
    EXPECT_EQ(listFiles(t.path("Daten"), FileMask("*.txt;a*")).files.size(), 2U);
}

TEST_F(Listing, SubfoldersLeaveOutHiddenFoldersAndLinks)
{
    const SubfolderListing listing = listSubfolders(t.path("Daten"), FollowLink::Yes);
    EXPECT_FALSE(listing.error);
    EXPECT_EQ(listing.names, (std::vector<std::string> {"Unter"}));
}

TEST_F(Listing, FolderThatCannotBeEnteredIsAnErrorNotAnEmptyList)
{
    EXPECT_TRUE(listFiles(t.path("fehlt"), FileMask("*.*")).error);
    EXPECT_TRUE(listSubfolders(t.path("fehlt"), FollowLink::Yes).error);
    EXPECT_TRUE(listSubfolders(t.path("Daten/a.txt"), FollowLink::Yes).error);
    // a link to a folder is entered only where the user named it
    EXPECT_TRUE(listSubfolders(t.path("Daten/linkdir"), FollowLink::No).error);
    EXPECT_FALSE(listSubfolders(t.path("Daten/linkdir"), FollowLink::Yes).error);
}

TEST_F(Listing, FileUnreadableForThisUserIsListedAsUnreadable)
{
    t.chmod("Daten/a.txt", 0);
    const std::string folder = t.path("Daten");
    ::chmod(t.root().c_str(), 0755);
    const int unreadable = test::runAsOtherUser([&] {
        const FileListing listing = listFiles(folder, FileMask("a.txt;B.TXT"));
        int count = 0;
        for (const FileEntry &file : listing.files)
            count += file.readable ? 0 : (file.name == "a.txt" ? 1 : 100);
        return listing.files.size() == 2 ? count : 50;
    });
    EXPECT_EQ(unreadable, 1);
}

TEST_F(Listing, OpenFaultMarksFilesUnreadable)
{
    setOpenFault([](std::string_view path) { return path.ends_with("/B.TXT"); });
    const FileListing listing = listFiles(t.path("Daten"), FileMask("*.txt"));
    setOpenFault(nullptr);
    for (const FileEntry &file : listing.files)
        EXPECT_EQ(file.readable, file.name != "B.TXT") << file.name;
}

TEST_F(Listing, NamesWithLineBreaksAreSetAside)
{
    t.file("Daten/zwei\nzeilen.txt", "x");
    t.dir("Daten/neue\rzeile");
    const FileListing files = listFiles(t.path("Daten"), FileMask("*.txt"));
    EXPECT_EQ(files.unlistable, (std::vector<std::string> {"zwei\nzeilen.txt"}));
    EXPECT_EQ(namesOf(files).count("zwei\nzeilen.txt"), 0U);
    const SubfolderListing folders = listSubfolders(t.path("Daten"), FollowLink::Yes);
    EXPECT_EQ(folders.unlistable, (std::vector<std::string> {"neue\rzeile"}));
}

TEST(ExistenceTest, IsTrueForAnythingButAFolder)
{
    test::TempTree t;
    EXPECT_TRUE(fileExists(t.file("a.txt", "x")));
    EXPECT_FALSE(fileExists(t.dir("ordner")));
    EXPECT_FALSE(fileExists(t.path("fehlt.txt")));
}

} // namespace
} // namespace kw::fs
