#include "shell/search_options.h"

#include "memory_store.h"

#include <gtest/gtest.h>

#include <limits>

namespace kw::shell
{
namespace
{

TEST(SearchOptions, ASettingsFileFromBeforeGivesTheSearchOfOld)
{
    test::MemoryStore store;
    store.values = {{"Pfad", "/home/u"}, {"UnterOrdner", "True"}, {"XPos", "10"}};
    const SearchOptions options = readSearchOptions(store);
    EXPECT_TRUE(options.isDefault());
    const search::SearchFilters filters = filtersOf(options);
    EXPECT_EQ(filters.sizes.minimum, 0U);
    EXPECT_EQ(filters.sizes.maximum, std::numeric_limits<std::uint64_t>::max());
    EXPECT_TRUE(filters.excluded.empty());
    EXPECT_FALSE(filters.oneLink);
    EXPECT_EQ(optionsSummary(options), "");
}

TEST(SearchOptions, EveryValueGoesBackAndForthUnderItsName)
{
    SearchOptions options;
    options.minSize = 1024;
    options.maxSize = 3u << 20;
    options.emptyFiles = false;
    options.oneLink = true;
    options.excluded = {"node_modules", "*.tmp", "@eaDir"};
    test::MemoryStore store;
    writeSearchOptions(store, options);
    EXPECT_EQ(store.values.at("MinGroesse"), "1024");
    EXPECT_EQ(store.values.at("MaxGroesse"), "3145728");
    EXPECT_EQ(store.values.at("LeereDateien"), "False");
    EXPECT_EQ(store.values.at("EinLinkJeDatei"), "True");
    EXPECT_EQ(store.values.at("Ausschluss"), "node_modules;*.tmp;@eaDir");
    EXPECT_EQ(readSearchOptions(store), options);

    // Back to the defaults: empty values, read as none.
    writeSearchOptions(store, SearchOptions {});
    EXPECT_EQ(store.values.at("MinGroesse"), "");
    EXPECT_TRUE(readSearchOptions(store).isDefault());
}

TEST(SearchOptions, WhatCannotBeReadIsTheDefault)
{
    test::MemoryStore store;
    store.values = {{"MinGroesse", "12x"}, {"MaxGroesse", "-5"}, {"LeereDateien", "vielleicht"},
        {"EinLinkJeDatei", "true"}, {"Ausschluss", ";;a;;b;"}};
    const SearchOptions options = readSearchOptions(store);
    EXPECT_FALSE(options.minSize);
    EXPECT_FALSE(options.maxSize);
    EXPECT_TRUE(options.emptyFiles);
    EXPECT_TRUE(options.oneLink); // any letter case, as UnterOrdner
    EXPECT_EQ(options.excluded, (std::vector<std::string> {"a", "b"}));
}

TEST(SearchOptions, TheFiltersAndTheLineSayTheSame)
{
    SearchOptions options;
    options.minSize = 1024;
    options.excluded = {"node_modules"};
    EXPECT_EQ(optionsSummary(options), "Optionen: ab 1 KiB, ohne node_modules");
    EXPECT_EQ(filtersOf(options).sizes.minimum, 1024U);
    options.minSize.reset();
    options.maxSize = 1500;
    options.emptyFiles = false;
    options.oneLink = true;
    options.excluded.push_back("*.tmp");
    EXPECT_EQ(optionsSummary(options),
        "Optionen: bis 1500 Bytes, ohne leere Dateien, ein Pfad je Datei, ohne node_modules, *.tmp");
    const search::SearchFilters filters = filtersOf(options);
    EXPECT_EQ(filters.sizes.minimum, 1U); // without empty files, as kowacht --no-empty
    EXPECT_EQ(filters.sizes.maximum, 1500U);
    EXPECT_TRUE(filters.oneLink);
}

TEST(SearchOptions, SizesInTheirUnits)
{
    EXPECT_EQ(sizeFromText("3", 2), std::optional<std::uint64_t>(3u << 20));
    EXPECT_EQ(sizeFromText("0", 0), std::optional<std::uint64_t>(0));
    EXPECT_FALSE(sizeFromText("1.5", 1));
    EXPECT_FALSE(sizeFromText("", 1));
    EXPECT_FALSE(sizeFromText("17179869184", 3)); // 2^34 GiB: beyond 2^64 bytes
    EXPECT_EQ(sizeInUnit(3u << 20).digits, "3");
    EXPECT_EQ(sizeInUnit(3u << 20).unit, 2);
    EXPECT_EQ(sizeInUnit(1500).unit, 0);
    EXPECT_EQ(sizeInUnit(0).unit, 0);
}

} // namespace
} // namespace kw::shell
