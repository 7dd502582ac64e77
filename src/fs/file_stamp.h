// Which file a path or a handle refers to, and in which state: what the search notes of
// every file, so that a file can be recognised again before it is trusted or trashed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kw::fs
{

// Which file or folder, whatever path led there.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

struct FileIdentityHash {
    std::size_t operator()(const FileIdentity &id) const noexcept
    {
        return std::hash<std::uint64_t> {}(
            static_cast<std::uint64_t>(id.inode) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(id.device));
    }
};

// A file as it was seen: identity, length, and the times that any write or any change of
// its links moves. Times are nanoseconds since the epoch.
struct FileStamp {
    FileIdentity identity;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace kw::fs
