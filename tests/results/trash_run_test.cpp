// What deleting checks before a file goes, against files swapped, changed or gone since the
// search.
#include "results/trash_run.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "search/engine.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace kw::results
{
namespace
{

class TrashRun : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("share/a/x.conf", "einstellung");
        t.file("share/b/dup/x.conf", "einstellung");
        t.file("anderswo/x.conf", "etwas anderes");
    }

    // Searches the share and keeps what the search noted of its files.
    void search()
    {
        search::NullObserver quiet;
        search::EngineOptions options;
        options.keepRecords = true;
        outcome = search::runSearch({t.path("share"), {}, true, "*.*", {}}, quiet, options);
        ASSERT_EQ(outcome.lines, (Lines {t.path("share/a/x.conf"), t.path("share/b/dup/x.conf")}));
    }

    // Trashes the second file of the block, the first one staying.
    std::error_code trashSecond(bool withRecords = true)
    {
        const Marks marks = {false, true};
        const auto outcomes = moveToTrash(
            trashRequests(outcome.lines, marks, "/", false), withRecords ? outcome.records.get() : nullptr, trash);
        return outcomes.at(0).error;
    }

    test::TempTree t;
    fs::FreedesktopTrash trash {t.path("Trash")};
    search::SearchOutcome outcome;
};

TEST_F(TrashRun, FolderSwappedForALinkAfterTheSearchTrashesNothingElsewhere)
{
    search();
    ASSERT_EQ(std::rename(t.path("share/b/dup").c_str(), t.path("alt").c_str()), 0);
    t.symlink("share/b/dup", t.path("anderswo"));
    EXPECT_EQ(trashSecond(), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(test::readFile(t.path("anderswo/x.conf")), "etwas anderes");
    EXPECT_FALSE(std::filesystem::exists(t.path("Trash/files/x.conf")));
}

TEST_F(TrashRun, FileChangedOrReplacedByAFolderSinceTheSearchStays)
{
    search();
    const timespec later[2] = {{2'000'000'000, 0}, {2'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, t.path("share/b/dup/x.conf").c_str(), later, 0), 0);
    EXPECT_EQ(trashSecond(), fs::Failure::NotTheSearchedFile);

    t.remove("share/b/dup/x.conf");
    t.file("share/b/dup/x.conf/innen.txt", "ein ganzer Ordner");
    EXPECT_EQ(trashSecond(), fs::Failure::NotARegularFile);
    EXPECT_TRUE(std::filesystem::exists(t.path("share/b/dup/x.conf/innen.txt")));
}

TEST_F(TrashRun, TopFolderThatIsNoLongerTheOneSearchedTrashesNothing)
{
    search();
    ASSERT_EQ(std::rename(t.path("share").c_str(), t.path("share-alt").c_str()), 0);
    t.file("share/a/x.conf", "einstellung");
    t.file("share/b/dup/x.conf", "einstellung");
    EXPECT_EQ(trashSecond(), fs::Failure::TopFolderChanged);
}

TEST_F(TrashRun, CopyThatStaysMustStillBeThereAndEqual)
{
    search();
    test::TempTree::writeAt(t.path("share/a/x.conf"), "einstellunX");
    EXPECT_EQ(trashSecond(), fs::Failure::KeptCopyDiffers);
    t.remove("share/a/x.conf");
    EXPECT_EQ(trashSecond(), fs::Failure::NoKeptCopy);
    EXPECT_TRUE(fs::fileExists(t.path("share/b/dup/x.conf")));
}

TEST_F(TrashRun, ACopyThatStaysButCannotBeReadSaysWhy)
{
    search();
    const fs::ScopedOpenFault denied([this](std::string_view path) { return path == t.path("share/a/x.conf"); });
    EXPECT_EQ(trashSecond(), std::errc::permission_denied); // not "no copy is kept"
    EXPECT_TRUE(fs::fileExists(t.path("share/b/dup/x.conf")));
}

TEST_F(TrashRun, CopyThatStaysMayBeAnotherNameOfTheSameFile)
{
    t.remove("share/a/x.conf");
    t.hardlink("share/a/x.conf", "share/b/dup/x.conf");
    search();
    EXPECT_FALSE(trashSecond());
    EXPECT_EQ(test::readFile(t.path("share/a/x.conf")), "einstellung");
}

TEST_F(TrashRun, ReopenedListThroughALinkNeverTrashesTheOnlyCopy)
{
    // A list saved when b was a copy of a; b has become a link to a since.
    t.file("fotos/a/foto.jpg", "bild");
    t.symlink("fotos/b", t.path("fotos/a"));
    outcome.lines = {t.path("fotos/a/foto.jpg"), t.path("fotos/b/foto.jpg")};
    EXPECT_EQ(trashSecond(false), fs::Failure::SameEntryAsKeptCopy);
    EXPECT_EQ(test::readFile(t.path("fotos/a/foto.jpg")), "bild");
}

TEST_F(TrashRun, EveryCopyGoesOnlyWhenTheUserConfirmedIt)
{
    search();
    const Marks all = {true, true};
    EXPECT_EQ(moveToTrash(trashRequests(outcome.lines, all, "/", false), outcome.records.get(), trash).at(0).error,
        fs::Failure::NoKeptCopy);
    for (const TrashOutcome &moved :
        moveToTrash(trashRequests(outcome.lines, all, "/", true), outcome.records.get(), trash))
        EXPECT_FALSE(moved.error) << moved.path;
    EXPECT_FALSE(fs::fileExists(t.path("share/a/x.conf")));
    EXPECT_EQ(test::readFile(t.path("Trash/files/x.conf")), "einstellung");
}

} // namespace
} // namespace kw::results
