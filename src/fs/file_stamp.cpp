#include "fs/file_stamp.h"

#include <sys/stat.h>

namespace kw::fs
{

FileStamp stampOf(const struct stat &status)
{
    const auto nanoseconds
        = [](const timespec &time) { return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return {{status.st_dev, status.st_ino}, static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim),
        nanoseconds(status.st_ctim)};
}

} // namespace kw::fs
