// Opening and reading the files that are searched: read-only, never following a link,
// every handle owned by one object.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// Which file or folder an open handle refers to, whatever path led there.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

struct FileIdentityHash {
    std::size_t operator()(const FileIdentity &id) const noexcept
    {
        return std::hash<std::uint64_t> {}(
            static_cast<std::uint64_t>(id.inode) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(id.device));
    }
};

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

struct OpenedFile {
    FileDescriptor fd;
    std::error_code error; // set when the file could not be opened
};

// Opens `path` read-only without following a final link and without waiting on a FIFO.
// It asks nothing more of the file: a comparison proves type and length by reading (a
// folder, FIFO or socket cannot be read at an offset; one byte past the expected end must
// not come), and `statusOf` tells the rest where it is needed.
OpenedFile openForReading(const std::string &path);

// What fstat says of an open file, or nothing when it fails.
std::optional<struct stat> statusOf(int fd);

// Reads up to `length` bytes at `offset`, going on after short reads until the end of the
// file. Returns the bytes read, or -1 with errno set.
std::ptrdiff_t readAt(int fd, char *buffer, std::size_t length, std::uint64_t offset);

// Whether the permission bits in `status` let this process read the file. Root reads
// everything. Access control lists are not consulted: callers confirm a "no" by opening.
bool readableByMode(const struct stat &status);

// The existence test for a file: `path` names an entry that is not a folder.
bool fileExists(const std::string &path);

// A seam for tests, which run as root and so cannot meet "permission denied" on disk: while
// set, opening a path for which the predicate says true fails with EACCES.
void setOpenFault(std::function<bool(std::string_view path)> fault);
bool openFaultFor(std::string_view path);
bool openFaultActive();

} // namespace kw::fs
