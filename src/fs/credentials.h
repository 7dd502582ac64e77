// Who is reading: the ids the permission bits of a file are checked against.
#pragma once

#include <cstdint>
#include <vector>

namespace kw::fs
{

// Taken when a search starts, not once per process: a program may change its ids, and a
// test child that drops to another user must not see its parent's.
struct Credentials {
    std::uint32_t user = 0;
    std::uint32_t group = 0;
    std::vector<std::uint32_t> groups; // supplementary

    static Credentials ofThisProcess();

    // Whether the permission bits of a file with this owner and group let these ids read
    // it. Root reads everything. Access control lists are not consulted: callers confirm a
    // "no" by opening.
    bool mayRead(std::uint32_t owner, std::uint32_t fileGroup, std::uint32_t permissions) const;
};

} // namespace kw::fs
