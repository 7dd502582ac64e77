// Opening the folders and files that are searched: read-only, below a folder handle, never
// through a link, every handle owned by one object.
#pragma once

#include "fs/file_stamp.h"

#include <sys/resource.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// An owned file descriptor, closed when it goes.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) { }
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) { }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    void reset();

private:
    int m_fd = -1;
};

struct Opened {
    FileDescriptor fd;
    std::error_code error; // set when nothing could be opened
};

// Opens a folder the user named, by its path text: links in it are honoured, as the user
// sees them in a file manager.
[[nodiscard]] Opened openFolder(const std::string &path);

// Opens `relative` below the folder `base` without following a link in any of its names and
// without a limit on its length. `flags` are open(2)'s; O_NOFOLLOW and O_CLOEXEC are added.
// A link on the way fails with ELOOP. An empty `relative` opens `base` itself again.
[[nodiscard]] Opened openBelow(int base, std::string_view relative, int flags);

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
    struct stat status = {};
    std::error_code error;

    bool regularFile() const { return !error && S_ISREG(status.st_mode); }
    FileIdentity identity() const { return {status.st_dev, status.st_ino}; }
    FileStamp stamp() const { return stampOf(status); }
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
    rlim_t m_raised = 0;
};

// A count of handles still to be given out, shared by the threads that take them.
class HandleBudget
{
public:
    explicit HandleBudget(std::size_t handles) : m_left(static_cast<std::ptrdiff_t>(handles)) { }
    bool take() { return m_left.fetch_sub(1, std::memory_order_relaxed) > 0; }

private:
    std::atomic<std::ptrdiff_t> m_left;
};

// The existence test for a file: `path` names an entry that is not a folder.
bool fileExists(const std::string &path);

// A seam for tests, which run as root and so cannot meet "permission denied" on disk: while
// one is in place, opening a path for which it says true fails with EACCES. Tests set it
// before a search and take it away after; nothing else changes it.
class ScopedOpenFault
{
public:
    explicit ScopedOpenFault(std::function<bool(std::string_view path)> fault);
    ScopedOpenFault(const ScopedOpenFault &) = delete;
    ScopedOpenFault &operator=(const ScopedOpenFault &) = delete;
    ~ScopedOpenFault();
};
bool openFaultFor(std::string_view path);
bool openFaultActive();

// For tests: while one is in place, paths are opened name by name, as on a kernel without
// openat2.
class ScopedNameByNameOpening
{
public:
    ScopedNameByNameOpening();
    ScopedNameByNameOpening(const ScopedNameByNameOpening &) = delete;
    ScopedNameByNameOpening &operator=(const ScopedNameByNameOpening &) = delete;
    ~ScopedNameByNameOpening();

private:
    bool m_before;
};

} // namespace kw::fs
