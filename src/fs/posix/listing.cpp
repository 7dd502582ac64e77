#include "fs/listing.h"

#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "fs/path_text.h"
#include "fs/posix/stat_conversion.h"
#include "fs/text_case.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>

namespace kw::fs
{
namespace
{

// An open folder read entry by entry through getdents64 into our own buffer: opendir and
// fdopendir would add an fstat and an fcntl per folder, which count on a million folders.
class DirectoryStream
{
public:
    struct Entry {
        const char *name;
        unsigned char type; // DT_REG, DT_DIR, …, or DT_UNKNOWN where the file system does not say
    };

    explicit DirectoryStream(int fd) : m_fd(fd) { }

    const std::error_code &error() const { return m_error; }

    // The next entry other than "." and "..", or nothing at the end.
    std::optional<Entry> next()
    {
        for (;;) {
            if (m_position >= m_filled && !refill())
                return std::nullopt;
            const auto *entry = reinterpret_cast<const dirent64 *>(m_buffer.get() + m_position);
            m_position += entry->d_reclen;
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            return Entry {name, entry->d_type};
        }
    }

private:
    bool refill()
    {
        for (;;) {
            const ssize_t n = ::getdents64(m_fd, m_buffer.get(), kBufferSize);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                m_error = std::error_code(errno, std::generic_category());
            if (n <= 0)
                return false;
            m_filled = static_cast<std::size_t>(n);
            m_position = 0;
            return true;
        }
    }

    static constexpr std::size_t kBufferSize = 32 * 1024;
    int m_fd;
    std::error_code m_error;
    // dirent64 records need 8-byte alignment; new[] of std::max_align_t-sized storage gives it.
    std::unique_ptr<char[]> m_buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::size_t m_filled = 0;
    std::size_t m_position = 0;
};

std::function<bool(std::string_view)> &entryStatusFault()
{
    static std::function<bool(std::string_view)> fault;
    return fault;
}

bool hidden(const char *name)
{
    return name[0] == '.';
}

// Collects what one folder yields; one object per listing.
class Lister
{
public:
    Lister(int fd, const ListingOptions &options, FolderListing &result)
        : m_fd(fd), m_options(options), m_result(result)
    {
    }

    void entry(const DirectoryStream::Entry &entry)
    {
        if (hidden(entry.name))
            return;
        if (m_options.excluded != nullptr && m_options.excluded->matches(entry.name))
            return;
        unsigned char type = entry.type;
        struct stat status = {};
        bool statusKnown = false;
        if (type == DT_UNKNOWN || m_unknownTypes) { // some file systems do not say; ask without following
            if (statusFault(entry.name) || ::fstatat(m_fd, entry.name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
                unknownEntry(entry.name, std::error_code(errno, std::generic_category()));
                return;
            }
            statusKnown = true;
            type = S_ISDIR(status.st_mode) ? DT_DIR : S_ISREG(status.st_mode) ? DT_REG : DT_LNK;
        }
        if (type == DT_DIR && m_options.subfolders)
            subfolder(entry.name);
        else if (type == DT_REG && m_options.mask != nullptr && m_options.mask->matches(entry.name))
            file(entry.name, statusKnown ? &status : nullptr);
    }

private:
    bool statusFault(const char *name) const
    {
        if (!m_unknownTypes || !entryStatusFault()(name))
            return false;
        errno = EIO;
        return true;
    }

    // An entry of a kind unknown that cannot be examined: it may be a file or a folder. Where
    // either would be searched, it is reported with the reason, never dropped in silence.
    void unknownEntry(const char *name, std::error_code reason)
    {
        if (reason == std::errc::no_such_file_or_directory) // gone since the folder was read
            return;
        if (m_options.mask != nullptr && m_options.mask->matches(name))
            addFile(name, {}, reason);
        else if (m_options.subfolders)
            m_result.unlistableFolders.push_back({name, reason});
    }

    void subfolder(const char *name)
    {
        if (const std::error_code reason = unlistableReason(name))
            m_result.unlistableFolders.push_back({name, reason});
        else
            m_result.subfolders.emplace_back(name);
    }

    void file(const char *name, const struct stat *known)
    {
        struct stat status = {};
        if (known != nullptr) {
            status = *known;
        } else if (::fstatat(m_fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            // Gone since the folder was read: nothing to list. A folder whose names may be
            // read but not its files (mode r--) says "permission denied": that is reported.
            if (errno != ENOENT)
                addFile(name, {}, std::error_code(errno, std::generic_category()));
            return;
        }
        if (!S_ISREG(status.st_mode)) // replaced since the folder was read
            return;
        if (const std::error_code reason = unlistableReason(name)) {
            m_result.unlistableFiles.push_back({name, reason});
            return;
        }
        const FileStamp stamp = stampOf(status);
        if (!m_options.sizes.allows(stamp.size))
            return;
        addFile(name, stamp, readable(name, status));
    }

    std::error_code readable(const char *name, const struct stat &status)
    {
        if (m_faults && openFaultFor(joinPath(m_options.folderPath, name)))
            return std::make_error_code(std::errc::permission_denied);
        if (m_options.credentials->mayRead(status.st_uid, status.st_gid, status.st_mode))
            return {};
        // The bits say no; an access control list may still say yes.
        const OwnedHandle fd(::openat(m_fd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        return fd.valid() ? std::error_code {} : std::error_code(errno, std::generic_category());
    }

    void addFile(const char *name, const FileStamp &stamp, std::error_code unreadable)
    {
        const std::string_view text(name);
        ListedFile file;
        file.nameOffset = static_cast<std::uint32_t>(m_result.names.size());
        file.nameLength = static_cast<std::uint16_t>(text.size());
        file.stamp = stamp;
        file.unreadable = static_cast<bool>(unreadable);
        m_result.names.append(text);
        if (unreadable)
            m_result.unreadable.push_back({static_cast<std::uint32_t>(m_result.files.size()), unreadable});
        m_result.files.push_back(file);
    }

    int m_fd;
    const ListingOptions &m_options;
    FolderListing &m_result;
    const bool m_faults = openFaultActive();
    const bool m_unknownTypes = static_cast<bool>(entryStatusFault());
};

} // namespace

// Kernel file systems that hold no user files and whose sizes do not tell the truth.
bool onKernelFileSystem(Handle fd)
{
    struct statfs info = {};
    if (::fstatfs(fd.native(), &info) != 0)
        return false;
    static constexpr std::array<long, 16> kinds = {
        PROC_SUPER_MAGIC,
        SYSFS_MAGIC,
        DEBUGFS_MAGIC,
        TRACEFS_MAGIC,
        SECURITYFS_MAGIC,
        CGROUP_SUPER_MAGIC,
        CGROUP2_SUPER_MAGIC,
        DEVPTS_SUPER_MAGIC,
        PSTOREFS_MAGIC,
        BPF_FS_MAGIC,
        0x62656570 /* configfs */,
        0x65735543 /* fusectl */,
        0x19800202 /* mqueue */,
        HUGETLBFS_MAGIC,
        BINFMTFS_MAGIC,
        EFIVARFS_MAGIC,
    };
    return std::find(kinds.begin(), kinds.end(), static_cast<long>(info.f_type)) != kinds.end();
}

FolderListing listFolder(Handle fd, const ListingOptions &options)
{
    FolderListing result;
    const Status folder = statusOf(fd);
    if (folder.error) {
        result.error = folder.error;
        return result;
    }
    result.identity = folder.identity();
    if ((!options.parentDevice || *options.parentDevice != folder.identity().device) && onKernelFileSystem(fd)) {
        result.kernelFileSystem = true;
        return result;
    }
    DirectoryStream stream(fd.native());
    Lister lister(fd.native(), options, result);
    std::size_t count = 0;
    while (const auto entry = stream.next()) {
        // Counted whether or not a cancel flag is watched: the count also tells how long a
        // name took to read.
        if ((++count & 255) == 0 && options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed))
            break;
        lister.entry(*entry);
    }
    result.entries = count;
    if (stream.error())
        result.error = stream.error();
    std::sort(result.subfolders.begin(), result.subfolders.end(),
        [](const std::string &a, const std::string &b) { return collatesBefore(a, b); });
    return result;
}

ScopedEntryStatusFault::ScopedEntryStatusFault(std::function<bool(std::string_view name)> fault)
{
    entryStatusFault() = std::move(fault);
}

ScopedEntryStatusFault::~ScopedEntryStatusFault()
{
    entryStatusFault() = nullptr;
}

} // namespace kw::fs
