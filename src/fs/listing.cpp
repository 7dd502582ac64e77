#include "fs/listing.h"

#include "fs/path_text.h"
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
#include <optional>

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

    DirectoryStream(const std::string &path, FollowLink follow)
    {
        int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        if (follow == FollowLink::No)
            flags |= O_NOFOLLOW;
        m_fd = FileDescriptor(::open(path.c_str(), flags));
        if (!m_fd.valid())
            m_error = std::error_code(errno, std::generic_category());
    }

    const std::error_code &error() const { return m_error; }
    int fd() const { return m_fd.get(); }

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
        if (!m_fd.valid())
            return false;
        for (;;) {
            const ssize_t n = ::getdents64(m_fd.get(), m_buffer.get(), kBufferSize);
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
    FileDescriptor m_fd;
    std::error_code m_error;
    // dirent64 records need 8-byte alignment; new[] of std::max_align_t-sized storage gives it.
    std::unique_ptr<char[]> m_buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::size_t m_filled = 0;
    std::size_t m_position = 0;
};

bool hidden(const char *name)
{
    return name[0] == '.';
}

// Kernel file systems that hold no user files and whose sizes do not tell the truth.
bool isPseudoFileSystem(int fd)
{
    struct statfs info = {};
    if (::fstatfs(fd, &info) != 0)
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

} // namespace

bool listableName(std::string_view name)
{
    return name.find_first_of("\r\n") == std::string_view::npos;
}

SubfolderListing listSubfolders(const std::string &folder, FollowLink follow, std::optional<dev_t> parentDevice)
{
    SubfolderListing result;
    DirectoryStream stream(folder, follow);
    if (stream.error()) {
        result.error = stream.error();
        return result;
    }
    struct stat status = {};
    if (::fstat(stream.fd(), &status) != 0) {
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    result.identity = {status.st_dev, status.st_ino};
    if (parentDevice && *parentDevice != status.st_dev && isPseudoFileSystem(stream.fd())) {
        result.pseudoFileSystem = true;
        return result;
    }
    while (const auto entry = stream.next()) {
        if (hidden(entry->name))
            continue;
        bool isFolder = entry->type == DT_DIR;
        if (entry->type == DT_UNKNOWN) { // some file systems do not say; ask without following
            struct stat entryStatus = {};
            isFolder = ::fstatat(stream.fd(), entry->name, &entryStatus, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(entryStatus.st_mode);
        }
        if (!isFolder)
            continue;
        if (listableName(entry->name))
            result.names.emplace_back(entry->name);
        else
            result.unlistable.emplace_back(entry->name);
    }
    if (stream.error())
        result.error = stream.error();
    std::sort(result.names.begin(), result.names.end(),
        [](const std::string &a, const std::string &b) { return collatesBefore(a, b); });
    return result;
}

FolderIdentityResult identifyFolder(const std::string &folder, FollowLink follow)
{
    FolderIdentityResult result;
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (follow == FollowLink::No)
        flags |= O_NOFOLLOW;
    const FileDescriptor fd(::open(folder.c_str(), flags));
    struct stat status = {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0) {
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    result.identity = {status.st_dev, status.st_ino};
    return result;
}

FileListing listFiles(const std::string &folder, const FileMask &mask)
{
    FileListing result;
    if (mask.empty())
        return result;
    DirectoryStream stream(folder, FollowLink::Yes);
    if (stream.error()) {
        result.error = stream.error();
        return result;
    }
    const bool faults = openFaultActive();
    while (const auto entry = stream.next()) {
        const unsigned char type = entry->type;
        if (hidden(entry->name) || (type != DT_REG && type != DT_UNKNOWN))
            continue;
        if (!mask.matches(entry->name))
            continue;
        struct stat status = {};
        if (::fstatat(stream.fd(), entry->name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode))
            continue; // gone since the folder was read, or no regular file after all
        if (!listableName(entry->name)) {
            result.unlistable.emplace_back(entry->name);
            continue;
        }
        FileEntry file {entry->name, static_cast<std::uint64_t>(status.st_size), true};
        if (!readableByMode(status)) {
            // The bits say no; an access control list may still say yes.
            const int fd = ::openat(stream.fd(), entry->name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            file.readable = fd >= 0;
            if (fd >= 0)
                ::close(fd);
        }
        if (faults && openFaultFor(joinPath(folder, file.name)))
            file.readable = false;
        result.files.push_back(std::move(file));
    }
    if (stream.error())
        result.error = stream.error();
    return result;
}

} // namespace kw::fs
