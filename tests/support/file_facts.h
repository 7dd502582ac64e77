// What tests ask of a file or folder on disk, by path: as the system says it, not as fs does,
// so that a fault of fs cannot hide itself.
#pragma once

#include "fs/links.h"

#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kw::test
{

// lstat(2) of `path`; a failure fails the test.
struct stat statusOf(const std::string &path);
// The inode `path` names (not followed), 0 where there is none.
ino_t inodeOf(const std::string &path);
// How many entries `folder` holds; 0 where it is missing.
std::size_t entriesIn(const std::string &folder);
// The file's extents as the file system maps them, or nothing where it cannot say.
std::optional<std::vector<fs::Extent>> extentsOf(const std::string &path);
// Whether the two files lie in the same extents, every one of them shared.
bool shareAllBlocks(const std::string &a, const std::string &b);

} // namespace kw::test
