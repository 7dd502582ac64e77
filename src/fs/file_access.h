// Opening the folders and files that are searched: read-only, below a folder handle, never
// through a link, every handle owned by one object.
#pragma once

#include "fs/file_descriptor.h"
#include "fs/file_status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// Opens a folder the user named, by its path text: links in it are honoured, as the user
// sees them in a file manager.
[[nodiscard]] Opened openFolder(const std::string &path);

// Opens `relative` below the folder `base` without following a link in any of its names and
// without a limit on its length. `flags` are open(2)'s; O_NOFOLLOW and O_CLOEXEC are added.
// A link on the way fails with ELOOP. An empty `relative` opens `base` itself again.
[[nodiscard]] Opened openBelow(int base, std::string_view relative, int flags);

// A handle that only names what `relative` leads to below `base` (nothing can be read through
// it), found as openBelow finds it; `folder`: it must be a folder. Cheaper to keep than a
// handle for reading, and enough to open names below it or to tell where a path leads.
[[nodiscard]] Opened openNameHandleBelow(int base, std::string_view relative, bool folder);

// Opens the folder `relative` below the folder `base` for listing, as openBelow does.
[[nodiscard]] Opened openFolderBelow(int base, std::string_view relative);

// Opens a regular file by its path text for reading it through (a list read back); a
// device, a FIFO or a folder is refused with EINVAL, as it could be read for ever.
[[nodiscard]] Opened openRegularFile(const std::string &path);

// Opens a file below `base` to compare its contents: read-only, no link, no waiting on a
// FIFO, and never a controlling terminal. (Callers consult the test seam below first.)
[[nodiscard]] Opened openForReading(int base, std::string_view relative);

// What fstat says of an open file, or the error.
struct Status {
    FileStatus status;
    std::error_code error;

    bool regularFile() const { return !error && status.kind == FileKind::Regular; }
    FileIdentity identity() const { return status.identity; }
    FileStamp stamp() const { return status.stamp(); }
};
[[nodiscard]] Status statusOf(int fd);
// The same for `relative` below the open folder `base`, the last name not followed (the
// folders on the way as the path text says); a path too long for one call is resolved in
// pieces, without links.
[[nodiscard]] Status statusOfPath(int base, std::string_view relative);

// Reads up to `length` bytes at `offset`, going on after short reads until the end of the
// file. Returns the bytes read, or -1 with errno set.
std::ptrdiff_t readAt(int fd, char *buffer, std::size_t length, std::uint64_t offset);

// One read of what the page cache holds at `offset`, without waiting for the disk: fewer
// bytes than asked for where the cache holds only part (or the file ends), -1 with errno
// EAGAIN where the first of them would have to come from the disk.
std::ptrdiff_t readCachedAt(int fd, char *buffer, std::size_t length, std::uint64_t offset);

// Tells the kernel that a large file will be read from start to end.
void adviseSequential(int fd);

// Asks the kernel to start reading the first `length` bytes of a file into the page cache,
// without waiting for them.
void adviseWillNeed(int fd, std::uint64_t length);

// The existence test for a file: `path` names an entry that is not a folder.
bool fileExists(const std::string &path);

} // namespace kw::fs
