#include "search/inventory.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

class InventoryPhase : public testing::Test
{
protected:
    // Collects `folder` (no subfolders) and takes its inventory.
    Inventory take(const std::string &folder, const std::string &mask)
    {
        const SearchRequest request {t.path(folder), {}, false, mask, {}};
        const ListingSettings settings {
            fs::FileMask(mask), std::nullopt, {}, fs::Credentials::ofThisProcess(), 1, nullptr};
        CollectedFolders folders = Ttest(request, settings, state, observer);
        return takeInventory(std::move(folders.tops), finalFolderList(std::move(folders.lines)), state, observer);
    }

    test::TempTree t;
    SearchState state;
    test::RecordingObserver observer;
};

TEST_F(InventoryPhase, OneLinePerMatchingFileWithItsSize)
{
    t.file("Daten/a.txt", "abc");
    t.file("Daten/b.txt", "defg");
    t.file("Daten/c.doc", "x");
    const Inventory inventory = take("Daten", "*.txt");
    ASSERT_EQ(inventory.files.size(), 2U);
    std::vector<std::pair<std::string, std::uint64_t>> lines;
    for (std::uint32_t i = 0; i < inventory.size(); ++i)
        lines.emplace_back(inventory.pathOf(i), inventory.key(i));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines,
        (std::vector<std::pair<std::string, std::uint64_t>> {{t.path("Daten/a.txt"), 3}, {t.path("Daten/b.txt"), 4}}));
    EXPECT_EQ(inventory.relativeStart(0), t.path("Daten").size() + 1);
    EXPECT_EQ(state.FileCountText, "2");
    EXPECT_EQ(observer.statuses.back(), "2 Dateien gefunden");
    EXPECT_EQ(observer.listedFolders, (std::vector<std::string> {t.path("Daten")}));
}

TEST_F(InventoryPhase, FolderWithoutMatchesChangesNoStatus)
{
    t.file("Daten/c.doc", "x");
    EXPECT_TRUE(take("Daten", "*.txt").files.empty());
    EXPECT_EQ(observer.statuses, (std::vector<std::string> {"1 Ordner gefunden"}));
}

TEST_F(InventoryPhase, UnreadableFileIsReportedCountedAndGetsSizeZero)
{
    t.file("Daten/gesperrt.doc", "inhalt");
    const fs::ScopedOpenFault fault([](std::string_view path) { return path.ends_with("gesperrt.doc"); });
    const Inventory inventory = take("Daten", "*.*");
    ASSERT_EQ(inventory.files.size(), 1U);
    EXPECT_EQ(inventory.key(0), 0U);
    EXPECT_TRUE(inventory.file(0).unreadable);
    EXPECT_EQ(state.AccessErrorCount, 1U);
    EXPECT_EQ(observer.messages,
        (std::vector<std::string> {"Zugriff auf '" + t.path("Daten/gesperrt.doc") + "' wurde verweigert!"}));
}

TEST_F(InventoryPhase, UnreadableFilesOfAFolderAreReportedInTheSortedListsOrder)
{
    for (const char *name : {"d2", "e0", "A0", "c0", "b0"})
        t.file(std::string("Daten/") + name, name);
    t.file("Daten/lesbar", "ja");
    const fs::ScopedOpenFault fault([](std::string_view path) { return !path.ends_with("lesbar"); });
    take("Daten", "*.*");
    std::vector<std::string> expected;
    for (const char *name : {"A0", "b0", "c0", "d2", "e0"})
        expected.push_back("Zugriff auf '" + t.path(std::string("Daten/") + name) + "' wurde verweigert!");
    EXPECT_EQ(observer.messages, expected);
    EXPECT_EQ(state.AccessErrorCount, 5U);
}

TEST_F(InventoryPhase, SizeListIsBuiltOnlyWhenRequested)
{
    fs::FolderFiles listing;
    listing.names = "a.txt";
    listing.files.push_back({0, 5, false, {{}, 3, 0, 0}});
    EXPECT_TRUE(RzFileListBox1Change("/d", listing, state, observer).empty());
    state.InventoryRequested = true;
    EXPECT_EQ(RzFileListBox1Change("/d", listing, state, observer), (std::vector<std::uint64_t> {3}));
    EXPECT_FALSE(state.InventoryRequested);
}

TEST_F(InventoryPhase, FullSizeOfFilesPastFourGibibytes)
{
    t.sparse("Daten/gross.bin", (std::uint64_t {1} << 32) + 5, "hallo");
    const Inventory inventory = take("Daten", "*.*");
    ASSERT_EQ(inventory.files.size(), 1U);
    EXPECT_EQ(inventory.key(0), 4294967301U);
}

TEST_F(InventoryPhase, NameWithEndOfTextCharacterIsLeftOutReportedAndCounted)
{
    t.file("Daten/ende\x1a.txt", "x");
    t.file("Daten/gut.txt", "x");
    const Inventory inventory = take("Daten", "*.*");
    EXPECT_EQ(inventory.files.size(), 1U);
    EXPECT_EQ(state.AccessErrorCount, 1U);
    ASSERT_EQ(observer.skips.size(), 1U);
    EXPECT_EQ(observer.skips[0].second, fs::Failure::EndOfTextInName);
}

} // namespace
} // namespace kw::search
