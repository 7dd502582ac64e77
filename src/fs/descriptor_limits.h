// How many descriptors the search may hold, and the limit the program raises for them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw::fs
{

// How many files the comparison may keep open, leaving most descriptors to the rest.
std::size_t openFileAllowance();

// How many folder handles a search may keep to reach its files from: what the descriptor
// limit leaves beside the comparison's files and the program's own.
std::size_t folderHandleAllowance();

// Raises the soft descriptor limit to the hard one, so that a search can keep a handle on
// every folder: a file opened from its folder's handle costs the kernel one name to look
// up instead of a whole path. Programs started from here get the old limit back through
// ScopedOrdinaryFileLimit, as some still use select(), which fails above 1024. Called
// first thing in main, while the program has one thread: it also makes room for the
// handles in the kernel's table.
void raiseOpenFileLimit();
class ScopedOrdinaryFileLimit
{
public:
    ScopedOrdinaryFileLimit();
    ScopedOrdinaryFileLimit(const ScopedOrdinaryFileLimit &) = delete;
    ScopedOrdinaryFileLimit &operator=(const ScopedOrdinaryFileLimit &) = delete;
    ~ScopedOrdinaryFileLimit();

private:
    bool m_lowered = false;
    std::uint64_t m_raised = 0;
};

} // namespace kw::fs
