#include "search/inventory.h"

#include "fs/file_access.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

class Inventory : public testing::Test
{
protected:
    void TearDown() override { fs::setOpenFault(nullptr); }
    test::TempTree t;
    SearchState state;
    test::RecordingObserver observer;
};

TEST_F(Inventory, OneLinePerMatchingFileWithItsSize)
{
    t.file("Daten/a.txt", "abc");
    t.file("Daten/b.txt", "def");
    t.file("Daten/c.doc", "x");
    auto lines = takeInventory({t.path("Daten") + "/"}, fs::FileMask("*.txt"), state, observer);
    std::sort(lines.begin(), lines.end(), [](const auto &a, const auto &b) { return a.path < b.path; });
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].key, "3");
    EXPECT_EQ(lines[0].path, t.path("Daten/a.txt"));
    EXPECT_EQ(lines[1].path, t.path("Daten/b.txt"));
    EXPECT_EQ(state.FileCountText, "2");
    EXPECT_EQ(observer.statuses.back(), "2 Dateien gefunden");
    EXPECT_EQ(observer.listedFolders, (std::vector<std::string> {t.path("Daten")}));
}

TEST_F(Inventory, FolderWithoutMatchesChangesNoStatus)
{
    t.file("Daten/c.doc", "x");
    EXPECT_TRUE(takeInventory({t.path("Daten") + "/"}, fs::FileMask("*.txt"), state, observer).empty());
    EXPECT_TRUE(observer.statuses.empty());
}

TEST_F(Inventory, UnreadableFileIsReportedCountedAndGetsSizeZero)
{
    t.file("Daten/gesperrt.doc", "inhalt");
    fs::setOpenFault([](std::string_view path) { return path.ends_with("gesperrt.doc"); });
    const auto lines = takeInventory({t.path("Daten") + "/"}, fs::FileMask("*.*"), state, observer);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].key, "0");
    EXPECT_TRUE(lines[0].unreadable);
    EXPECT_EQ(state.AccessErrorCount, 1U);
    EXPECT_EQ(observer.messages,
        (std::vector<std::string> {"Zugriff auf '" + t.path("Daten/gesperrt.doc") + "' wurde verweigert!"}));
}

TEST_F(Inventory, SizeListIsBuiltOnlyWhenRequested)
{
    t.file("Daten/a.txt", "abc");
    const fs::FileListing listing = fs::listFiles(t.path("Daten"), fs::FileMask("*.*"));
    EXPECT_TRUE(RzFileListBox1Change(t.path("Daten"), listing, state, observer).empty());
    state.InventoryRequested = true;
    EXPECT_EQ(RzFileListBox1Change(t.path("Daten"), listing, state, observer), (std::vector<std::string> {"3"}));
    EXPECT_FALSE(state.InventoryRequested);
}

TEST_F(Inventory, FullSizeOfFilesPastFourGibibytes)
{
    t.sparse("Daten/gross.bin", (std::uint64_t {1} << 32) + 5, "hallo");
    const auto lines = takeInventory({t.path("Daten") + "/"}, fs::FileMask("*.*"), state, observer);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].key, "4294967301");
}

TEST_F(Inventory, FolderVanishedSinceCollectionIsReportedAndSkipped)
{
    t.file("Daten/a.txt", "abc");
    const auto lines
        = takeInventory({t.path("weg") + "/", t.path("Daten") + "/"}, fs::FileMask("*.*"), state, observer);
    EXPECT_EQ(lines.size(), 1U);
    EXPECT_EQ(state.AccessErrorCount, 1U);
    EXPECT_EQ(state.FileCountText, "1");
}

} // namespace
} // namespace kw::search
