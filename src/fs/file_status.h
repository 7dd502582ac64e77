// What the file system says of one entry, in the project's own terms.
#pragma once

#include "fs/file_stamp.h"

#include <cstdint>

namespace kw::fs
{

enum class FileKind { Regular, Folder, SymbolicLink, Other };

struct FileStatus {
    FileKind kind = FileKind::Other;
    FileIdentity identity;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
    std::int64_t changed = 0;
    std::uint64_t links = 0;
    std::uint32_t permissions = 0; // the mode's low twelve bits (rwx for owner, group, others; sticky …)
    std::uint32_t owner = 0;
    std::uint32_t group = 0;

    FileStamp stamp() const { return {identity, size, modified, changed}; }
};

} // namespace kw::fs
