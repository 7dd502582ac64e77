#include "shell/settings.h"

#include "memory_store.h"
#include "shell/filter_history.h"

#include <gtest/gtest.h>

namespace kw::shell
{
namespace
{

using Names = std::vector<std::string>;

Names namesIn(const test::MemoryStore &store)
{
    Names names;
    for (const auto &[name, value] : store.values)
        names.push_back(name);
    return names;
}

TEST(Settings, ValueNamesKeepTheirOldNumbering)
{
    EXPECT_EQ(markedFolderValueName(1), "Pfad01");
    EXPECT_EQ(markedFolderValueName(9), "Pfad09");
    EXPECT_EQ(markedFolderValueName(10), "Pfad010");
    EXPECT_EQ(markedFolderValueName(99), "Pfad099");
    EXPECT_EQ(markedFolderValueName(100), "Pfad100");
    EXPECT_EQ(markedFolderValueName(101), "Pfad101");
    EXPECT_EQ(filterValueName(1), "Filter0001");
    EXPECT_EQ(filterValueName(8), "Filter0008");
}

TEST(Settings, MarkedFolderValues)
{
    EXPECT_EQ(markedFolderValue({"/home/u/Fotos/", true}), "1;/home/u/Fotos/");
    EXPECT_EQ(markedFolderValue({"/home/u/Fotos/", false}), "/home/u/Fotos/");
    EXPECT_EQ(parseMarkedFolderValue("1;/a/"), (search::MarkedFolder {"/a/", true}));
    EXPECT_EQ(parseMarkedFolderValue("/a/"), (search::MarkedFolder {"/a/", false}));
    // an inactive folder whose name starts with ";" right under the root comes back whole
    for (const bool active : {true, false}) {
        const search::MarkedFolder odd {"/;alt/", active};
        EXPECT_EQ(parseMarkedFolderValue(markedFolderValue(odd)), odd) << active;
    }
    EXPECT_EQ(parseMarkedFolderValue("0;/a/"), (search::MarkedFolder {"/a/", false}));
}

TEST(Settings, FirstStartOnAnEmptyStoreAndClosingRightAway)
{
    test::MemoryStore store;
    const StoredSettings read = readSettings(store);
    EXPECT_TRUE(read.firstStart());
    EXPECT_FALSE(read.startFolder);
    EXPECT_TRUE(read.markedFolders.empty());
    EXPECT_TRUE(read.filters.empty());
    EXPECT_FALSE(read.subfolders);

    writeSettings(store, {"/home/u", {}, false, 340, 210, builtInFilters(), "*.*", false});
    EXPECT_EQ(namesIn(store),
        (Names {"Ansicht", "Filter0001", "Filter0002", "Filter0003", "Filter0004", "Filter0005", "Filter0006", "Pfad",
            "UnterOrdner", "XPos", "YPos"}));
    EXPECT_EQ(store.values["Ansicht"], "Ordner");
    EXPECT_EQ(store.values["UnterOrdner"], "False");
    EXPECT_EQ(store.values["XPos"], "340");
    EXPECT_EQ(store.values["Filter0006"], "*.zip");
    EXPECT_FALSE(readSettings(store).firstStart());
}

TEST(Settings, UpdateFromAVersionWithoutTheView)
{
    test::MemoryStore store;
    store.values = {{"XPos", "10"}, {"YPos", "20"}};
    const StoredSettings read = readSettings(store);
    EXPECT_FALSE(read.firstStart());
    EXPECT_TRUE(read.firstStartOfThisVersion());
}

TEST(Settings, MarkedFoldersRoundTripAndOnlyAHundredComeBack)
{
    test::MemoryStore store;
    std::vector<search::MarkedFolder> folders;
    for (int i = 1; i <= 101; ++i)
        folders.push_back({"/ordner/" + std::to_string(i) + "/", i % 2 == 0});
    writeSettings(store, {"/", folders, true, 0, 0, {}, "", false});
    EXPECT_EQ(store.values["Pfad010"], "1;/ordner/10/");
    EXPECT_EQ(store.values["Pfad09"], "/ordner/9/");
    EXPECT_EQ(store.values["Pfad100"], "1;/ordner/100/");
    EXPECT_EQ(store.values["Pfad101"], "/ordner/101/");
    const StoredSettings read = readSettings(store);
    ASSERT_EQ(read.markedFolders.size(), 100U);
    EXPECT_EQ(read.markedFolders[9], (search::MarkedFolder {"/ordner/10/", true}));
    EXPECT_TRUE(read.listViewStored());

    // fewer entries at the next close: the old values go
    writeSettings(store, {"/", {{"/x/", true}}, false, 0, 0, {}, "", false});
    EXPECT_EQ(store.values.count("Pfad02"), 0U);
    EXPECT_EQ(readSettings(store).markedFolders.size(), 1U);
}

TEST(Settings, SubfolderOptionInAnyLetterCaseIsWrittenBackAsTrue)
{
    test::MemoryStore store;
    store.values["UnterOrdner"] = "true";
    EXPECT_TRUE(readSettings(store).subfolders);
    store.values["UnterOrdner"] = "yes";
    EXPECT_FALSE(readSettings(store).subfolders);
    writeSettings(store, {"/", {}, false, 0, 0, {}, "", true});
    EXPECT_EQ(store.values["UnterOrdner"], "True");
}

TEST(Settings, FilterHistoryAtClose)
{
    test::MemoryStore store;
    store.values = {{"Filter0001", "*.jpg"}, {"Filter0002", "*.txt"}, {"Filter0003", "*.gif"}};
    const StoredSettings read = readSettings(store);
    EXPECT_EQ(read.filters, (Names {"*.jpg", "*.txt", "*.gif"}));
    writeSettings(store, {"/", {}, false, 0, 0, {"*.jpg", "*.txt"}, "*.txt", false});
    EXPECT_EQ(readSettings(store).filters, (Names {"*.txt", "*.jpg"}));
    EXPECT_EQ(store.values.count("Filter0003"), 0U);
}

TEST(Settings, PositionThatIsNoDecimalIntegerCountsAsAbsent)
{
    test::MemoryStore store;
    store.values = {{"XPos", "12a"}, {"YPos", "-40"}, {"Ansicht", "Ordner"}};
    const StoredSettings read = readSettings(store);
    EXPECT_FALSE(read.xPos);
    EXPECT_EQ(read.yPos, -40);
    EXPECT_TRUE(read.firstStart());
    EXPECT_FALSE(parseDecimal(""));
    EXPECT_FALSE(parseDecimal("+5"));
    EXPECT_FALSE(parseDecimal("99999999999"));
    EXPECT_EQ(parseDecimal("-0"), 0);
}

TEST(Settings, EmptyValuesCountAsAbsent)
{
    test::MemoryStore store;
    store.values = {{"Pfad", ""}, {"Pfad01", "1;/a/"}, {"Pfad02", ""}, {"Pfad03", "/c/"}};
    const StoredSettings read = readSettings(store);
    EXPECT_FALSE(read.startFolder);
    EXPECT_EQ(read.markedFolders.size(), 1U); // reading stops at the first gap
}

} // namespace
} // namespace kw::shell
