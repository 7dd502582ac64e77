#include "fs/path_text.h"

#include <gtest/gtest.h>

namespace kw::fs
{
namespace
{

TEST(PathText, NormalisesAsTextWithoutFollowingLinks)
{
    EXPECT_EQ(normalizedAbsolute("/home/u/", "/x"), "/home/u");
    EXPECT_EQ(normalizedAbsolute("Fotos", "/home/u"), "/home/u/Fotos");
    EXPECT_EQ(normalizedAbsolute("./a//b/../c/.", "/home/u"), "/home/u/a/c");
    EXPECT_EQ(normalizedAbsolute("../../../..", "/home/u"), "/");
    EXPECT_EQ(normalizedAbsolute("/", "/x"), "/");
    EXPECT_EQ(normalizedAbsolute(".", "/"), "/");
    EXPECT_EQ(normalizedAbsolute("link/..", "/home"), "/home");
}

TEST(PathText, FolderAndEntryForms)
{
    EXPECT_EQ(folderForm("/home/u/"), "/home/u");
    EXPECT_EQ(folderForm("/"), "/");
    EXPECT_EQ(entryForm("/home/u"), "/home/u/");
    EXPECT_EQ(entryForm("/"), "/");
    EXPECT_EQ(joinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(joinPath("/home/u/", "a.txt"), "/home/u/a.txt");
    EXPECT_EQ(joinPath("/home/u", "a.txt"), "/home/u/a.txt");
    EXPECT_EQ(baseName("/home/u/Duplikate(08-12-26).txt"), "Duplikate(08-12-26).txt");
}

} // namespace
} // namespace kw::fs
