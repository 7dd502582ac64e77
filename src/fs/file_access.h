// Opening the folders and files that are searched: read-only, below a folder handle, never
// through a link, every handle owned by one object.
#pragma once

#include "fs/file_status.h"
#include "fs/handle.h"

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

// The functions that open below a folder handle never follow a link in any name of
// `relative`, whatever its length: a link on the way fails with ELOOP. An empty `relative`
// opens `base` itself again.

// A handle that only names what `relative` leads to below `base` (nothing can be read through
// it); `folder`: it must be a folder. Cheaper to keep than a handle for reading, and enough to
// open names below it or to tell where a path leads.
[[nodiscard]] Opened openNameHandleBelow(Handle base, std::string_view relative, bool folder);

// Opens the folder `relative` below the folder `base` for listing.
[[nodiscard]] Opened openFolderBelow(Handle base, std::string_view relative);

// Opens a regular file by its path text for reading it through (a list read back); a
// device, a FIFO or a folder is refused with EINVAL, as it could be read for ever.
[[nodiscard]] Opened openRegularFile(const std::string &path);

// Opens a file below `base` to compare its contents: read-only, no link, no waiting on a
// FIFO, and never a controlling terminal. (Callers consult the test seam below first.)
[[nodiscard]] Opened openForReading(Handle base, std::string_view relative);

// What fstat says of an open file, or the error.
struct Status {
    FileStatus status;
    std::error_code error;

    bool regularFile() const { return !error && status.kind == FileKind::Regular; }
    FileIdentity identity() const { return status.identity; }
    FileStamp stamp() const { return status.stamp(); }
};
[[nodiscard]] Status statusOf(Handle fd);
// The same for `relative` below the open folder `base`, the last name not followed (the
// folders on the way as the path text says); a path too long for one call is resolved in
// pieces, without links.
[[nodiscard]] Status statusOfPath(Handle base, std::string_view relative);

// Reads up to `length` bytes at `offset`, going on after short reads until the end of the
// file. Returns the bytes read, or -1 with errno set.
std::ptrdiff_t readAt(Handle fd, char *buffer, std::size_t length, std::uint64_t offset);

// One read of what the page cache holds at `offset`, without waiting for the disk: fewer
// bytes than asked for where the cache holds only part (or the file ends), -1 with errno
// EAGAIN where the first of them would have to come from the disk.
std::ptrdiff_t readCachedAt(Handle fd, char *buffer, std::size_t length, std::uint64_t offset);

// Tells the kernel that a large file will be read from start to end.
void adviseSequential(Handle fd);

// Asks the kernel to start reading the first `length` bytes of a file into the page cache,
// without waiting for them.
void adviseWillNeed(Handle fd, std::uint64_t length);

// The existence test for a file: `path` names an entry that is not a folder.
bool fileExists(const std::string &path);

} // namespace kw::fs
