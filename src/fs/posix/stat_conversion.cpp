#include "fs/posix/stat_conversion.h"

namespace kw::fs
{
namespace
{

std::int64_t nanoseconds(const timespec &time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISLNK(mode))
        return FileKind::SymbolicLink;
    return FileKind::Other;
}

} // namespace

FileStatus statusFrom(const struct stat &status)
{
    FileStatus result;
    result.kind = kindOf(status.st_mode);
    result.identity = {status.st_dev, status.st_ino};
    result.size = static_cast<std::uint64_t>(status.st_size);
    result.modified = nanoseconds(status.st_mtim);
    result.changed = nanoseconds(status.st_ctim);
    result.links = status.st_nlink;
    result.permissions = status.st_mode & 07777;
    result.owner = status.st_uid;
    result.group = status.st_gid;
    return result;
}

FileStamp stampOf(const struct stat &status)
{
    return statusFrom(status).stamp();
}

} // namespace kw::fs
