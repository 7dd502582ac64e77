// The page cache as tests of reading from the disk need it: a file's pages dropped, and
// whether its first page is in memory.
#pragma once

#include <string>

namespace kw::test
{

// Whether the first page of the file at `path` is in the page cache.
bool firstPageInMemory(const std::string &path);

// Written to the disk and dropped from memory, where the file system allows it (tmpfs
// keeps its files in memory: check with firstPageInMemory). False when it cannot be opened.
bool dropFromMemory(const std::string &path);

} // namespace kw::test
