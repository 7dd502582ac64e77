// The one opening below a folder handle that the others of fs are made of, in open(2)'s own
// terms: for the POSIX implementation and its tests.
#pragma once

#include "fs/handle.h"

#include <string_view>

namespace kw::fs
{

// Opens `relative` below the folder `base` as the openers of fs/file_access.h do. `flags` are
// open(2)'s; O_NOFOLLOW and O_CLOEXEC are added.
[[nodiscard]] Opened openBelow(Handle base, std::string_view relative, int flags);

} // namespace kw::fs
