#include "fs/text_case.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kw::fs
