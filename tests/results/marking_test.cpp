#include "results/marking.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kw::results
