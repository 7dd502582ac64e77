#include "search/engine.h"

#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "support/recording_observer.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace kw::search
{
namespace
{

using Lines = std::vector<std::string>;

class Engine : public testing::Test
{
protected:
    SearchOutcome search(bool subfolders = true, std::string filter = "*.*")
    {
        return runSearch({t.root(), {}, subfolders, std::move(filter), {}}, observer);
    }
    std::string p(std::string_view relative) { return t.path(relative); }

    test::TempTree t;
    test::RecordingObserver observer;
};

TEST_F(Engine, FindsDuplicatesAcrossFoldersWithCaptionAndPhases)
{
    t.file("a/eins.txt", "gleich");
    t.file("b/zwei.txt", "gleich");
    t.file("b/drei.txt", "anders");
    t.file("c/vier.doc", "gleich");
    const SearchOutcome outcome = search(true, "*.txt");
    EXPECT_EQ(outcome.lines, (Lines {p("a/eins.txt"), p("b/zwei.txt")}));
    EXPECT_EQ(outcome.caption(), "Suchergebnis (2 aus 3 Dateien)");
    EXPECT_EQ(observer.captions, (Lines {"Suche Ordner", "Suche Dateien", "Dateien Vergleichen"}));
    EXPECT_EQ(observer.lastStatusOf("Suche Ordner"), "4 Ordner gefunden");
    EXPECT_EQ(observer.lastStatusOf("Dateien Vergleichen"), "3 von 3 Dateien"); // "anders" has the same size
}

TEST_F(Engine, NothingFoundLeavesAnEmptyList)
{
    t.file("a.txt", "eins");
    t.file("b.txt", "zwei");
    const SearchOutcome outcome = search();
    EXPECT_TRUE(outcome.lines.empty());
    EXPECT_EQ(outcome.state.FoundCount, "0");
}

TEST_F(Engine, AccessErrorsAreCountedInTheCaption)
{
    t.file("a.txt", "gleich");
    t.file("b.txt", "gleich");
    t.file("gesperrt.txt", "gleich");
    const fs::ScopedOpenFault fault([](std::string_view path) { return path.ends_with("gesperrt.txt"); });
    const SearchOutcome outcome = search();
    EXPECT_EQ(outcome.lines, (Lines {p("a.txt"), p("b.txt")}));
    EXPECT_EQ(outcome.caption(), "Suchergebnis (2 aus 3 Dateien) / 1 Fehler!");
}

TEST_F(Engine, LinksAreNeverFollowedAndSpecialFilesSkipped)
{
    t.file("echt.txt", "inhalt");
    t.symlink("verweis.txt", p("echt.txt"));
    t.dir("ordner");
    t.symlink("ordner/zurueck", t.root());
    t.fifo("rohr.txt"); // opening it would block for ever
    EXPECT_TRUE(search().lines.empty());
}

TEST_F(Engine, FourGibibytesAndFiveBytesIsNotFiveBytes)
{
    t.sparse("gross.bin", (std::uint64_t {1} << 32) + 5, "hallo");
    t.file("klein.bin", "hallo");
    t.file("leer1.bin", "");
    t.sparse("gross0.bin", std::uint64_t {1} << 32, "");
    t.file("leer2.bin", "");
    const SearchOutcome outcome = search();
    EXPECT_EQ(outcome.lines, (Lines {p("leer1.bin"), p("leer2.bin")}));
}

TEST_F(Engine, HardLinksAreDuplicates)
{
    t.file("a.txt", "inhalt");
    t.hardlink("b.txt", "a.txt");
    EXPECT_EQ(search().lines, (Lines {p("a.txt"), p("b.txt")}));
}

TEST_F(Engine, FolderReachedTwiceListsNoFileAsItsOwnDuplicate)
{
    t.file("Daten/A/x.txt", "eins");
    t.file("Daten/y.txt", "zwei");
    const SearchRequest request {p("Daten"), {{p("Daten") + "/", true}, {p("Daten/A") + "/", true}}, true, "*.*", {}};
    EXPECT_TRUE(runSearch(request, observer).lines.empty());
}

TEST_F(Engine, NamesThatAreNotUtf8)
{
    t.file("\xff\xfe.txt", "gleich");
    t.file("gut.txt", "gleich");
    EXPECT_EQ(search().lines, (Lines {p("gut.txt"), p("\xff\xfe.txt")}));
}

TEST_F(Engine, NamesWithLineBreaksAreLeftOutAndCounted)
{
    t.file("zwei\nzeilen.txt", "gleich");
    t.file("a.txt", "gleich");
    t.file("b.txt", "gleich");
    const SearchOutcome outcome = search();
    EXPECT_EQ(outcome.lines, (Lines {p("a.txt"), p("b.txt")}));
    EXPECT_EQ(outcome.state.AccessErrorCount, 1U);
}

TEST_F(Engine, NameMatchingTwoPatternsIsComparedOnce)
{
    t.file("a.txt", "eins");
    t.file("b.txt", "zwei");
    EXPECT_TRUE(search(false, "*.txt;a*").lines.empty());
}

TEST_F(Engine, LongPathsWork)
{
    std::string deep = "x";
    while (deep.size() < 400)
        deep += "/ordner-mit-langem-namen";
    t.file(deep + "/a.txt", "gleich");
    t.file(deep + "/b.txt", "gleich");
    EXPECT_EQ(search().lines.size(), 2U);
}

} // namespace
} // namespace kw::search
