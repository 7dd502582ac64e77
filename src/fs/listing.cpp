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

namespace kw::fs
{
namespace
{

// An open folder read entry by entry; closes itself.
class DirectoryStream
{
public:
    DirectoryStream(const std::string &path, FollowLink follow)
    {
        int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        if (follow == FollowLink::No)
            flags |= O_NOFOLLOW;
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0) {
            m_error = std::error_code(errno, std::generic_category());
            return;
        }
        m_dir = ::fdopendir(fd);
        if (m_dir == nullptr) {
            m_error = std::error_code(errno, std::generic_category());
            ::close(fd);
        }
    }
    DirectoryStream(const DirectoryStream &) = delete;
    DirectoryStream &operator=(const DirectoryStream &) = delete;
    ~DirectoryStream()
    {
        if (m_dir != nullptr)
            ::closedir(m_dir);
    }

    const std::error_code &error() const { return m_error; }
    int fd() const { return ::dirfd(m_dir); }

    // The next entry other than "." and "..", or nullptr at the end.
    const dirent *next()
    {
        for (;;) {
            errno = 0;
            const dirent *entry = ::readdir(m_dir);
            if (entry == nullptr) {
                if (errno != 0)
                    m_error = std::error_code(errno, std::generic_category());
                return nullptr;
            }
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            return entry;
        }
    }

private:
    DIR *m_dir = nullptr;
    std::error_code m_error;
};

bool hidden(const char *name)
{
    return name[0] == '.';
}

// Kernel file systems that hold no user files and whose sizes do not tell the truth.
bool isPseudoFileSystem(int fd)
{
    struct statfs info {
    };
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
    struct stat status {
    };
    if (::fstat(stream.fd(), &status) != 0) {
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    result.identity = {status.st_dev, status.st_ino};
    if (parentDevice && *parentDevice != status.st_dev && isPseudoFileSystem(stream.fd())) {
        result.pseudoFileSystem = true;
        return result;
    }
    while (const dirent *entry = stream.next()) {
        if (hidden(entry->d_name))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) { // some file systems do not say; ask without following
            struct stat entryStatus {
            };
            isFolder = ::fstatat(stream.fd(), entry->d_name, &entryStatus, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(entryStatus.st_mode);
        }
        if (!isFolder)
            continue;
        if (listableName(entry->d_name))
            result.names.emplace_back(entry->d_name);
        else
            result.unlistable.emplace_back(entry->d_name);
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
    struct stat status {
    };
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
    while (const dirent *entry = stream.next()) {
        const unsigned char type = entry->d_type;
        if (hidden(entry->d_name) || (type != DT_REG && type != DT_UNKNOWN))
            continue;
        if (!mask.matches(entry->d_name))
            continue;
        struct stat status {
        };
        if (::fstatat(stream.fd(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode))
            continue; // gone since the folder was read, or no regular file after all
        if (!listableName(entry->d_name)) {
            result.unlistable.emplace_back(entry->d_name);
            continue;
        }
        FileEntry file {entry->d_name, static_cast<std::uint64_t>(status.st_size), true};
        if (!readableByMode(status)) {
            // The bits say no; an access control list may still say yes.
            const int fd = ::openat(stream.fd(), entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
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
