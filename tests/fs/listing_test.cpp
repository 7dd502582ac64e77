#include "fs/listing.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "fs/posix/stat_conversion.h"
#include "support/other_user.h"
#include "support/temp_tree.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <set>

namespace kw::fs
{
namespace
{

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

    FolderListing list(const std::string &folder, const std::string &mask, bool subfolders = false)
    {
        const FileMask filter(mask);
        const std::string path = t.path(folder);
        const Opened opened = openFolder(path);
        EXPECT_FALSE(opened.error) << folder;
        ListingOptions options;
        options.subfolders = subfolders;
        options.mask = &filter;
        options.credentials = &credentials;
        options.folderPath = path;
        return listFolder(opened.fd.get(), options);
    }

    static std::set<std::string> namesOf(const FolderListing &listing)
    {
        std::set<std::string> names;
        for (const ListedFile &file : listing.files)
            names.insert(std::string(listing.nameOf(file)));
        return names;
    }

    test::TempTree t;
    Credentials credentials = Credentials::ofThisProcess();
};

TEST_F(Listing, ListsRegularVisibleFilesMatchingTheMask)
{
    EXPECT_EQ(namesOf(list("Daten", "*.txt")), (std::set<std::string> {"a.txt", "B.TXT"}));
    EXPECT_EQ(namesOf(list("Daten", "*.*")), (std::set<std::string> {"a.txt", "B.TXT", "c.doc"}));
    EXPECT_TRUE(list("Daten", "").files.empty());
    EXPECT_TRUE(list("Daten", "*.xls").files.empty());
}

TEST_F(Listing, KeepsSizeIdentityAndTimesFromOneStat)
{
    const FolderListing listing = list("Daten", "a.txt;B.TXT");
    ASSERT_EQ(listing.files.size(), 2U);
    for (const ListedFile &file : listing.files) {
        struct stat status = {};
        ASSERT_EQ(::lstat(t.path("Daten/" + std::string(listing.nameOf(file))).c_str(), &status), 0);
        EXPECT_EQ(file.stamp, stampOf(status));
        EXPECT_FALSE(file.unreadable);
    }
}

TEST_F(Listing, NameMatchingTwoPatternsIsListedOnce)
{
    EXPECT_EQ(list("Daten", "*.txt;a*").files.size(), 2U);
}

TEST_F(Listing, SubfoldersLeaveOutHiddenFoldersAndLinks)
{
    const FolderListing listing = list("Daten", "*.*", true);
    EXPECT_FALSE(listing.error);
    EXPECT_EQ(listing.subfolders, (std::vector<std::string> {"Unter"}));
    EXPECT_TRUE(list("Daten", "*.*", false).subfolders.empty());
}

TEST_F(Listing, ExcludedNamesAreNeitherListedNorEntered)
{
    t.dir("Daten/node_modules");
    const FileMask excluded("node_modules;*.TXT");
    const Opened opened = openFolder(t.path("Daten"));
    const FileMask all("*.*");
    ListingOptions options;
    options.subfolders = true;
    options.mask = &all;
    options.excluded = &excluded;
    options.credentials = &credentials;
    const FolderListing listing = listFolder(opened.fd.get(), options);
    EXPECT_EQ(namesOf(listing), (std::set<std::string> {"c.doc"}));
    EXPECT_EQ(listing.subfolders, (std::vector<std::string> {"Unter"}));
}

TEST_F(Listing, FileUnreadableForThisUserIsListedAsUnreadableWithTheReason)
{
    t.chmod("Daten/a.txt", 0);
    const std::string folder = t.path("Daten");
    ::chmod(t.root().c_str(), 0755);
    // The ids are taken in the child: a value cached by the parent (root) must not leak in.
    const int unreadable = test::runAsOtherUser([&] {
        const Credentials mine = Credentials::ofThisProcess();
        const FileMask mask("a.txt;B.TXT");
        const Opened opened = openFolder(folder);
        ListingOptions options;
        options.mask = &mask;
        options.credentials = &mine;
        const FolderListing listing = listFolder(opened.fd.get(), options);
        if (listing.files.size() != 2 || listing.unreadable.size() != 1)
            return 50;
        const ListedFile &file = listing.files[listing.unreadable[0].file];
        return listing.nameOf(file) == "a.txt" && listing.unreadable[0].reason == std::errc::permission_denied ? 1 : 60;
    });
    EXPECT_EQ(unreadable, 1);
}

TEST_F(Listing, FilesOfAFolderThatMayBeListedButNotSearchedAreReported)
{
    t.chmod("Daten", 0444); // r--: the names can be read, the files cannot be looked at
    ::chmod(t.root().c_str(), 0755);
    const std::string folder = t.path("Daten");
    const int reported = test::runAsOtherUser([&] {
        const Credentials mine = Credentials::ofThisProcess();
        const FileMask mask("*.txt");
        const Opened opened = openFolder(folder);
        if (opened.error)
            return 40;
        ListingOptions options;
        options.mask = &mask;
        options.credentials = &mine;
        const FolderListing listing = listFolder(opened.fd.get(), options);
        int count = 0;
        for (const UnreadableReason &reason : listing.unreadable)
            count += reason.reason == std::errc::permission_denied ? 1 : 100;
        return count;
    });
    // a.txt and B.TXT: the file system's entry types say regular files; neither may be read
    EXPECT_EQ(reported, 2);
}

TEST_F(Listing, OpenFaultMarksFilesUnreadable)
{
    const ScopedOpenFault fault([](std::string_view path) { return path.ends_with("/B.TXT"); });
    const FolderListing listing = list("Daten", "*.txt");
    for (const ListedFile &file : listing.files)
        EXPECT_EQ(file.unreadable, listing.nameOf(file) == "B.TXT") << listing.nameOf(file);
}

TEST_F(Listing, NamesThatCannotStandInAListAreSetAsideWithTheirReason)
{
    t.file("Daten/zwei\nzeilen.txt", "x");
    t.file("Daten/ende\x1a.txt", "x");
    t.dir("Daten/neue\rzeile");
    const FolderListing listing = list("Daten", "*.txt", true);
    ASSERT_EQ(listing.unlistableFiles.size(), 2U);
    for (const SkippedName &name : listing.unlistableFiles)
        EXPECT_EQ(name.reason, name.name[0] == 'z' ? Failure::LineBreakInName : Failure::EndOfTextInName) << name.name;
    EXPECT_EQ(namesOf(listing).count("zwei\nzeilen.txt"), 0U);
    ASSERT_EQ(listing.unlistableFolders.size(), 1U);
    EXPECT_EQ(listing.unlistableFolders[0].name, "neue\rzeile");
}

TEST_F(Listing, WhereTheFileSystemTellsNoKindsEveryEntryIsExamined)
{
    // DT_UNKNOWN for all: the kinds come from fstatat, the same listing results.
    {
        const ScopedEntryStatusFault unknownKinds([](std::string_view) { return false; });
        const FolderListing listing = list("Daten", "*.*", true);
        EXPECT_EQ(namesOf(listing), (std::set<std::string> {"a.txt", "B.TXT", "c.doc"}));
        EXPECT_EQ(listing.subfolders, (std::vector<std::string> {"Unter"}));
    }
    // An entry that cannot be examined may be a folder: it is reported with the reason,
    // and as a file where its name matches.
    const ScopedEntryStatusFault failing([](std::string_view name) { return name == "Unter" || name == "a.txt"; });
    const FolderListing listing = list("Daten", "*.txt", true);
    ASSERT_EQ(listing.unlistableFolders.size(), 1U);
    EXPECT_EQ(listing.unlistableFolders[0].name, "Unter");
    EXPECT_EQ(listing.unlistableFolders[0].reason, std::errc::io_error);
    ASSERT_EQ(listing.unreadable.size(), 1U);
    EXPECT_EQ(listing.nameOf(listing.files[listing.unreadable[0].file]), "a.txt");
    EXPECT_EQ(listing.unreadable[0].reason, std::errc::io_error);
    EXPECT_TRUE(list("Daten", "*.txt", false).unlistableFolders.empty()); // not searched, not said
}

TEST_F(Listing, EveryNameReadIsCountedWithOrWithoutACancelFlag)
{
    // a.txt B.TXT c.doc .d.txt Unter .versteckt link.txt linkdir pipe.txt: matching or not
    EXPECT_EQ(list("Daten", "*.txt").entries, 9U);
    const FileMask filter("*.txt");
    const Opened opened = openFolder(t.path("Daten"));
    const std::atomic<bool> cancel {false};
    ListingOptions options;
    options.mask = &filter;
    options.credentials = &credentials;
    options.cancel = &cancel;
    EXPECT_EQ(listFolder(opened.fd.get(), options).entries, 9U);
}

TEST_F(Listing, SizeLimitsLeaveFilesOutsideUnlisted)
{
    const FileMask all("*.*");
    const Opened opened = openFolder(t.path("Daten"));
    ListingOptions options;
    options.mask = &all;
    options.credentials = &credentials;
    options.sizes = {2, 2}; // exactly the limit is inside
    EXPECT_EQ(namesOf(listFolder(opened.fd.get(), options)), (std::set<std::string> {"B.TXT"}));
}

TEST_F(Listing, KernelFileSystemsAreRecognised)
{
    const Opened proc = openFolder("/proc");
    ASSERT_FALSE(proc.error);
    EXPECT_TRUE(onKernelFileSystem(proc.fd.get()));
    EXPECT_FALSE(onKernelFileSystem(openFolder(t.root()).fd.get()));
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
