// One file under two names that the file system does not tell apart: moving one of them to
// the trash takes the "kept copy" with it, and the file must come back at once.
#include "fs/failure.h"
#include "fs/file_access.h"
#include "results/trash_run.h"
#include "search/engine.h"
#include "support/file_facts.h"
#include "support/loop_volume.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace kw::results
{
namespace
{

using test::entriesIn;

namespace stdfs = std::filesystem;

// The home trash, but whatever it moves takes `alias` with it: what a case-insensitive
// volume or a FUSE view does, on any machine.
class AliasingTrash final : public fs::Trash
{
public:
    AliasingTrash(std::string home, std::string alias) : m_trash(std::move(home)), m_alias(std::move(alias)) { }
    std::error_code moveToTrash(const fs::Entry &entry) override
    {
        const std::error_code error = m_trash.moveToTrash(entry);
        if (!error)
            std::rename(m_alias.c_str(), (m_alias + ".weg").c_str());
        return error;
    }
    std::error_code putBack() override
    {
        std::rename((m_alias + ".weg").c_str(), m_alias.c_str());
        return m_trash.putBack();
    }
    std::string lastPlace() const override { return m_trash.lastPlace(); }

private:
    fs::FreedesktopTrash m_trash;
    std::string m_alias;
};

TEST(TwoNames, KeptCopyThatWentWithTheFileBringsItBack)
{
    test::TempTree t;
    const std::string kept = t.file("a/x", "einzige Kopie");
    const std::string going = t.file("b/x", "einzige Kopie");
    AliasingTrash trash(t.path("Trash"), kept);
    const TrashOutcome outcome = trashOne({going, {kept}, false}, nullptr, trash);
    EXPECT_EQ(outcome.error, fs::Failure::SameFileUnderOtherName);
    EXPECT_EQ(test::readFile(going), "einzige Kopie");
    EXPECT_EQ(test::readFile(kept), "einzige Kopie");
    EXPECT_EQ(entriesIn(t.path("Trash/files")), 0U);
    EXPECT_EQ(entriesIn(t.path("Trash/info")), 0U);

    // A file whose put-back fails stays in the trash with its record, and says where.
    AliasingTrash stuck(t.path("Trash"), kept);
    const fs::ScopedPutBackFault fault;
    const TrashOutcome stranded = trashOne({going, {kept}, false}, nullptr, stuck);
    EXPECT_EQ(stranded.error, fs::Failure::StrandedInTrash);
    EXPECT_EQ(stranded.strandedAt, t.path("Trash/files/x"));
    EXPECT_EQ(test::readFile(t.path("Trash/files/x")), "einzige Kopie");
    EXPECT_TRUE(stdfs::exists(t.path("Trash/info/x.trashinfo")));
}

TEST(TwoNames, AHardLinkThatStaysKeepsTheDataAndTheOtherNameGoes)
{
    test::TempTree t;
    const std::string kept = t.file("a/x", "daten");
    const std::string going = t.hardlink("a/y", "a/x");
    fs::FreedesktopTrash trash(t.path("Trash"));
    EXPECT_FALSE(trashOne({going, {kept}, false}, nullptr, trash).error);
    EXPECT_FALSE(stdfs::exists(going));
    EXPECT_EQ(test::readFile(kept), "daten");
}

// The search over both names, then the trash, as a user of kowacht --trash or of a reopened
// list would run it.
std::vector<TrashOutcome> searchAndTrashSecond(
    const std::string &first, const std::string &second, const std::string &homeTrash)
{
    search::NullObserver quiet;
    search::EngineOptions options;
    options.keepRecords = true;
    const search::SearchOutcome found
        = search::runSearch({first, {{second + "/", true}}, false, "*.*", {}}, quiet, options);
    EXPECT_EQ(found.lines.size(), 2U);
    if (found.lines.size() != 2)
        return {};
    fs::FreedesktopTrash trash(homeTrash);
    return moveToTrash(trashRequests(found.lines, {false, true}, "/", false), found.records.get(), trash);
}

TEST(TwoNames, AFuseViewOfASearchedFolderKeepsTheOnlyCopy)
{
    test::TempTree t;
    const std::string real = t.file("real/bild.jpg", "das einzige Bild");
    test::FuseView view(t.path("real"));
    if (!view.mounted())
        GTEST_SKIP() << view.skipReason();
    const std::vector<TrashOutcome> outcomes = searchAndTrashSecond(view.root(), t.path("real"), t.path("Trash"));
    ASSERT_EQ(outcomes.size(), 1U);
    EXPECT_EQ(outcomes[0].error, fs::Failure::SameFileUnderOtherName);
    EXPECT_EQ(test::readFile(real), "das einzige Bild");
}

TEST(TwoNames, ACaseInsensitiveVolumeKeepsTheOnlyCopy)
{
    test::LoopVolume fat(test::LoopVolume::Kind::Fat);
    if (!fat.mounted())
        GTEST_SKIP() << fat.skipReason();
    stdfs::create_directory(fat.path("d"));
    ASSERT_TRUE(test::TempTree::writeAt(fat.path("d/x"), "nur einmal da"));
    // A reopened list naming both spellings: the checks see two entries of two inodes.
    const Lines lines = {fat.path("d/x"), fat.path("D/X")};
    const test::TempTree home; // on another volume
    fs::FreedesktopTrash trash(home.path("Trash"));
    const std::vector<TrashOutcome> outcomes
        = moveToTrash(trashRequests(lines, {false, true}, "/", false), nullptr, trash);
    ASSERT_EQ(outcomes.size(), 1U);
    EXPECT_EQ(outcomes[0].error, fs::Failure::SameFileUnderOtherName);
    EXPECT_EQ(test::readFile(fat.path("d/x")), "nur einmal da");
}

} // namespace
} // namespace kw::results
