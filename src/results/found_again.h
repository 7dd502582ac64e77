// A file of the result list found again before anything is done to it.
#pragma once

#include "fs/entry.h"
#include "search/records.h"

#include <cstddef>
#include <string>
#include <system_error>

namespace kw::results
{

// Finds the entry `path` names: below the folder the search entered when the records know
// the file, and as the path text says otherwise.
fs::EntryResult findAgain(const std::string &path, const search::SearchRecords *records);

// Why the entry found is not the file the search compared as `found` (size, time and
// identity), or must not be touched for another reason (no regular file); empty where it is.
// Without `found` only the kind of file is checked.
std::error_code asSearched(const fs::Entry &entry, const search::FoundFile *found);

// How much of a file's start is kept to tell afterwards whether it is still the same.
inline constexpr std::size_t kFirstBlock = 4096;

// The first block of a file, or why it cannot be read.
std::error_code readFirstBlock(const fs::Entry &file, std::string &block);

} // namespace kw::results
