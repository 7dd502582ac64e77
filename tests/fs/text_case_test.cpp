#include "fs/text_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <algorithm>
#include <vector>

namespace kw::fs
{
namespace
{

TEST(TextCase, FoldsLettersBeyondAscii)
{
    EXPECT_EQ(compareFolded("ÄRGER", "ärger"), 0);
    EXPECT_EQ(compareFolded("Straße", "STRAßE"), 0);
    EXPECT_EQ(compareFolded("ΑΒΓ", "αβγ"), 0);
    EXPECT_LT(compareFolded("a", "B"), 0);
    EXPECT_LT(compareFolded("ab", "abc"), 0);
    EXPECT_GT(compareFolded("abc", "AB"), 0);
}

TEST(TextCase, InvalidUtf8BytesAreCharactersOfTheirOwn)
{
    std::size_t pos = 0;
    EXPECT_EQ(nextCodePoint("\xff", pos), char32_t {0xDCFF});
    EXPECT_EQ(pos, 1U);
    pos = 0;
    EXPECT_EQ(nextCodePoint("\xc3", pos), char32_t {0xDCC3}); // cut-off sequence
    pos = 0;
    EXPECT_EQ(nextCodePoint("\xc0\xaf", pos), char32_t {0xDCC0}); // overlong "/"
    pos = 0;
    EXPECT_EQ(nextCodePoint("\xc3\xa4", pos), char32_t {0xE4});
    EXPECT_EQ(pos, 2U);
    EXPECT_NE(compareFolded("\xff", "\xfe"), 0);
}

TEST(TextCase, CollationIsLowerCaseThenExact)
{
    std::vector<std::string> paths = {"/b", "/A", "/a", "/Ä", "/ä", "/B"};
    std::sort(paths.begin(), paths.end(), [](const auto &x, const auto &y) { return collatesBefore(x, y); });
    EXPECT_EQ(paths, (std::vector<std::string> {"/A", "/a", "/B", "/b", "/Ä", "/ä"}));
}

// A folder and a name compared in two pieces collate as the path they make together, also
// where the two folders part in the middle of a character.
TEST(TextCase, FolderAndNameCollateAsTheWholePath)
{
    const std::vector<std::string> pieces = {"a", "A", "\xc3\xa4", "\xc3\x84", "\xc3", "\xa4", "\xff", "/", ".", "b"};
    std::mt19937 random(11);
    const auto text = [&](std::size_t parts) {
        std::string result;
        for (std::size_t i = 0; i < parts; ++i)
            result += pieces[random() % pieces.size()];
        return result;
    };
    for (int round = 0; round < 5000; ++round) {
        const std::string folderA = "/" + text(random() % 4) + "/";
        const std::string folderB = random() % 3 == 0 ? folderA : "/" + text(random() % 4) + "/";
        const std::string nameA = text(1 + random() % 3);
        const std::string nameB = text(1 + random() % 3);
        const bool joined = collatesBefore(JoinedText {folderA, nameA}, JoinedText {folderB, nameB});
        EXPECT_EQ(joined, collatesBefore(folderA + nameA, folderB + nameB))
            << folderA << nameA << " " << folderB << nameB;
        EXPECT_EQ(compareFolded(JoinedText {folderA, nameA}, JoinedText {folderB, nameB}) < 0,
            compareFolded(folderA + nameA, folderB + nameB) < 0);
    }
}

} // namespace
} // namespace kw::fs
