#include "results/marking.h"

#include <gtest/gtest.h>

#include <map>

namespace kw::results
{
namespace
{

// Marks as a string, one character per line: "x" marked, "." not.
std::string shown(const Marks &marks)
{
    std::string text;
    for (const bool mark : marks)
        text.push_back(mark ? 'x' : '.');
    return text;
}

Marks parsed(const std::string &text)
{
    Marks marks;
    for (const char c : text)
        marks.push_back(c == 'x');
    return marks;
}

const Lines kTwoBlocks = {"/A", "/B", "/C", "", "/D", "/E"};

TEST(Marking, DuplicatesAreAllButTheFirstOfEachBlockWhateverWasMarked)
{
    Marks marks = parsed("x..xx.");
    DuplikateMarkieren1Click(kTwoBlocks, marks);
    EXPECT_EQ(shown(marks), ".xx..x");
}

TEST(Marking, DuplicatesAfterDeletionLeftEmptyLinesAnywhere)
{
    const Lines lines = {"", "/A", "/B", "", "", "/C", "", "/D", ""};
    Marks marks;
    DuplikateMarkieren1Click(lines, marks);
    EXPECT_EQ(shown(marks), "..x......");
    EXPECT_TRUE(ListBox1Click(lines, marks));
}

TEST(Marking, EverythingMeansEveryNonEmptyLineAddedToTheMarks)
{
    Marks marks = parsed("......");
    AllesMarkieren1Click(kTwoBlocks, marks);
    EXPECT_EQ(shown(marks), "xxx.xx");
}

TEST(Marking, MaskIsAnExactSubstringOfTheWholePath)
{
    const Lines lines = {"/home/u/Bilder/a.jpg", "/home/u/bilder/b.jpg", "", "/home/u/Texte/Bilder.txt", "/x/*?.txt"};
    Marks marks(lines.size(), false);
    EXPECT_TRUE(Markierungsmaske1Click(lines, marks, "Bilder"));
    EXPECT_EQ(shown(marks), "x..x.");
    EXPECT_TRUE(Markierungsmaske1Click(lines, marks, "*?"));
    EXPECT_EQ(shown(marks), "x..xx"); // "*" and "?" are plain characters; earlier marks stay
    Marks untouched = parsed(".x...");
    EXPECT_FALSE(Markierungsmaske1Click(lines, untouched, ""));
    EXPECT_EQ(shown(untouched), ".x...");
    Marks none(lines.size(), false);
    Markierungsmaske1Click(lines, none, "bilder/");
    EXPECT_EQ(shown(none), ".x...");
}

TEST(Marking, SelectionHandlerKeepsSeparatorsUnmarked)
{
    Marks marks = parsed("xxxxxx"); // a Shift+click range across both blocks
    EXPECT_TRUE(ListBox1Click(kTwoBlocks, marks, 3));
    EXPECT_EQ(shown(marks), "xxx.xx");
    Marks single = parsed("...x..");
    EXPECT_FALSE(ListBox1Click(kTwoBlocks, single, 3));
    EXPECT_EQ(shown(single), "......");
}

TEST(Marking, EmptyListMarksNothing)
{
    Marks marks;
    AllesMarkieren1Click({}, marks);
    DuplikateMarkieren1Click({}, marks);
    EXPECT_TRUE(marks.empty());
    EXPECT_FALSE(ListBox1Click({}, marks));
}

TEST(MoreMarks, KeepingOnlyOneFolderNeverTakesTheLastCopy)
{
    const Lines lines = {"/a/x", "/ab/x", "", "/ab/y", "/c/y", "", "/a/z", "/a/q/z"};
    Marks marks(lines.size(), false);
    keepOnlyIn(lines, marks, "/a");
    // "/ab" is not below "/a"; a block with no file in "/a" stays unmarked; below "/a" at any
    // depth counts
    EXPECT_EQ(marks, (Marks {false, true, false, false, false, false, false, false}));
    markAllIn(lines, marks, "/a");
    EXPECT_EQ(marks, (Marks {true, true, false, false, false, false, true, true}));
    keepOnlyIn(lines, marks, "/");
    EXPECT_EQ(marks, Marks(lines.size(), false)); // everything lies below the root
}

TEST(MoreMarks, KeepingByAgeLeavesFilesOfUnknownAgeAlone)
{
    const Lines lines = {"/1", "/2", "/3", "", "/4", "/5", "", "/6", "/7"};
    const std::map<std::string, std::int64_t> times = {{"/1", 10}, {"/2", 30}, {"/3", 30}, {"/4", 5}, {"/6", 1}};
    const auto modified = [&](const std::string &path) -> std::optional<std::int64_t> {
        const auto found = times.find(path);
        return found == times.end() ? std::nullopt : std::optional<std::int64_t>(found->second);
    };
    Marks marks;
    keepByAge(lines, marks, true, modified);
    // the first of two equally new stays; "/5" and "/7" cannot be told and are never marked
    EXPECT_EQ(marks, (Marks {true, false, true, false, false, false, false, false, false}));
    keepByAge(lines, marks, false, modified);
    EXPECT_EQ(marks, (Marks {false, true, true, false, false, false, false, false, false}));
}

TEST(MoreMarks, InvertingAndRemovingLeaveSeparatorsAndTheOtherLines)
{
    Lines lines = {"/a", "/b", "", "/c", "/d", "/e"};
    Marks marks = {true, false, false, false, true, false};
    invertMarks(lines, marks);
    EXPECT_EQ(marks, (Marks {false, true, false, true, false, true}));
    EXPECT_EQ(removeMarked(lines, marks), 3U);
    EXPECT_EQ(lines, (Lines {"/a", "", "/d"}));
    EXPECT_EQ(marks, (Marks {false, false, false}));
}

TEST(MoreMarks, InvertingNeverMarksEveryCopyOfABlock)
{
    const Lines lines = {"/a", "/b", "/c", "", "/d", "/e"};
    Marks marks = {false, false, false, false, true, true};
    invertMarks(lines, marks);
    // Nothing marked before: the first stays; all marked before: all unmarked now.
    EXPECT_EQ(marks, (Marks {false, true, true, false, false, false}));
}

TEST(MoreMarks, SpaceFreedCountsNoHardLinkTwiceNorOneToAFileThatStays)
{
    const Lines lines = {"/a", "/b", "/c", "", "/d", "/e"};
    const std::map<std::string, FileFacts> facts
        = {{"/a", {100, 1, 10, "1:2/a"}}, {"/b", {100, 1, 11, "1:2/b"}}, {"/c", {100, 1, 10, "1:2/c"}},
            {"/d", {7, 1, 20, "1:2/d"}}, {"/e", {7, 1, 20, "1:2/e"}}, {"/./a", {100, 1, 10, "1:2/a"}}};
    const auto lookUp = [&](const std::string &path) -> std::optional<FileFacts> { return facts.at(path); };
    const MarkedSpace space = markedSpace(lines, {false, true, true, false, true, true}, lookUp);
    // "/c" is "/a", which stays; "/e" is "/d", counted already
    EXPECT_EQ(space.files, 4U);
    EXPECT_EQ(space.bytes, 107U);
    EXPECT_EQ(space.hardLinks, 1U);
    EXPECT_EQ(space.linksAmongMarked, 1U);
    EXPECT_EQ(space.otherPaths, 0U);
    EXPECT_EQ(markedSpaceText({1, 2048, 0, 0, 0}), "1 Datei markiert: 2,0 KiB frei, sobald der Papierkorb geleert ist");
    // With nothing staying, a further link of a marked file is no link to a file that stays.
    const MarkedSpace all = markedSpace(lines, {true, true, true, false, true, true}, lookUp);
    EXPECT_EQ(all.hardLinks, 0U);
    EXPECT_EQ(markedSpaceText(all),
        "5 Dateien markiert: 207 Bytes frei, sobald der Papierkorb geleert ist; 2 sind weitere harte Links markierter "
        "Dateien und zählen nicht noch einmal");
    // "/./a" is no hard link of "/a" but its very entry, by another path
    const MarkedSpace again = markedSpace({"/a", "/./a", "/c"}, {false, true, true}, lookUp);
    EXPECT_EQ(again.hardLinks, 1U);
    EXPECT_EQ(again.otherPaths, 1U);
    EXPECT_EQ(markedSpaceText(again),
        "2 Dateien markiert: 0 Bytes frei, sobald der Papierkorb geleert ist; davon ist eine ein harter Link auf eine "
        "bleibende Datei und macht "
        "keinen Platz frei; eine ist dieselbe Datei unter anderem Pfad wie eine bleibende und macht keinen Platz "
        "frei");
    EXPECT_EQ(folderOfLine("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(folderOfLine("/c.txt"), "/");
}

} // namespace
} // namespace kw::results
