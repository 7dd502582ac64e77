#include "fs/mask.h"

#include <gtest/gtest.h>

namespace kw::fs
{
namespace
{

struct MaskCase {
    const char *mask;
    const char *name;
    bool matches;
};

class MaskMatches : public testing::TestWithParam<MaskCase>
{
};

TEST_P(MaskMatches, Name)
{
    const MaskCase &c = GetParam();
    EXPECT_EQ(FileMask(c.mask).matches(c.name), c.matches) << "mask '" << c.mask << "' name '" << c.name << "'";
}

INSTANTIATE_TEST_SUITE_P(Rules, MaskMatches,
    testing::Values(
        // letter case is ignored, also beyond ASCII
        MaskCase {"*.txt", "a.txt", true}, MaskCase {"*.txt", "B.TXT", true}, MaskCase {"*.txt", "c.doc", false},
        MaskCase {"äpfel*", "ÄPFEL.jpg", true}, MaskCase {"*Ö*", "schön", true},
        // "*.*" matches every name, also one without a dot; so does any "x.*" the bare name
        MaskCase {"*.*", "README", true}, MaskCase {"*.*", ".profile", true}, MaskCase {"a.*", "a", true},
        MaskCase {"a.*", "a.b.c", true}, MaskCase {"a.*", "ab", false}, MaskCase {"*", "x", true},
        // "?" is one character, not one byte
        MaskCase {"?.txt", "ä.txt", true}, MaskCase {"??.txt", "ä.txt", false}, MaskCase {"?", "", false},
        // several patterns, blanks around them, empty ones ignored
        MaskCase {"*.jpg;*.gif", "x.GIF", true}, MaskCase {" *.jpg ; *.gif ", "x.gif", true},
        MaskCase {"*.jpg;;", "x.jpg", true}, MaskCase {"*.jpg;*.gif", "x.png", false},
        // every other character is itself
        MaskCase {"[a].txt", "[a].txt", true}, MaskCase {"[a].txt", "a.txt", false}, MaskCase {"a\\b", "a\\b", true},
        MaskCase {"a b.txt", "a b.txt", true},
        // stars backtrack
        MaskCase {"*ab*ab", "xabyabab", true}, MaskCase {"*a*b*c", "aXbXbXa", false},
        // a name that is not UTF-8: each bad byte is one character
        MaskCase {"?.txt", "\xff.txt", true}, MaskCase {"*.txt", "\xfe\xff.TXT", true},
        // names may hold "*" and "?" themselves: the pattern's are wildcards all the same
        MaskCase {"*.jpg", "*foto.jpg", true}, MaskCase {"a*", "a*c", true}, MaskCase {"*c", "a*c", true},
        MaskCase {"a?c", "a*c", true}, MaskCase {"*?", "?", true}, MaskCase {"x*y", "x*", false}));

TEST(FileMask, EmptyMaskListsNothing)
{
    EXPECT_TRUE(FileMask("").empty());
    EXPECT_TRUE(FileMask(" ; ;").empty());
    EXPECT_FALSE(FileMask("").matches("a.txt"));
    EXPECT_FALSE(FileMask(";").matches(""));
    EXPECT_FALSE(FileMask("*.txt").empty());
}

} // namespace
} // namespace kw::fs
