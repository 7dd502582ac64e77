#include "fs/links.h"

#include "fs/failure.h"
#include "fs/posix/stat_conversion.h"
#include "fs/writing.h"

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kw::fs
{
namespace
{

// What one call asks of the kernel: Btrfs shares at most 16 MiB a call and says how much it
// did, XFS more; asking for 16 MiB keeps each lock of the two files short.
constexpr std::uint64_t kChunk = std::uint64_t {16} << 20;

std::atomic<int> faultyStep {-1};

bool failsHere(LinkStep step)
{
    if (faultyStep.load(std::memory_order_relaxed) != static_cast<int>(step))
        return false;
    errno = EIO;
    return true;
}

bool cannotShare(int error)
{
    return error == EOPNOTSUPP || error == EINVAL || error == EXDEV || error == ENOTTY || error == ENOSYS;
}

// A name no entry of the folder has yet, for the link before it is renamed over the
// duplicate: short, so that it fits wherever the duplicate's own name fits, and hidden.
std::string linkName(unsigned attempt)
{
    static std::atomic<unsigned> counter {0};
    const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char name[64];
    std::snprintf(name, sizeof name, ".kw-link-%x-%llx-%x", static_cast<unsigned>(::getpid()),
        (now ^ (now >> 29)) & 0xFFFFFFFFull, counter.fetch_add(1) + attempt);
    return name;
}

std::optional<FileIdentity> identityAt(int folder, const std::string &name, std::error_code &error)
{
    struct stat status = {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        error = lastError();
        return std::nullopt;
    }
    return FileIdentity {status.st_dev, status.st_ino};
}

} // namespace

std::error_code shareBlocks(Handle kept, Handle duplicate, std::uint64_t length)
{
    const std::size_t bytes = sizeof(file_dedupe_range) + sizeof(file_dedupe_range_info);
    const auto storage = std::make_unique<std::uint64_t[]>((bytes + 7) / 8);
    auto *range = reinterpret_cast<file_dedupe_range *>(storage.get());
    for (std::uint64_t offset = 0; offset < length;) {
        std::memset(storage.get(), 0, bytes);
        range->src_offset = offset;
        range->src_length = std::min(kChunk, length - offset);
        range->dest_count = 1;
        file_dedupe_range_info &info = range->info[0];
        info.dest_fd = duplicate.native();
        info.dest_offset = offset;
        if (::ioctl(kept.native(), FIDEDUPERANGE, range) != 0)
            return cannotShare(errno) ? std::error_code(Failure::CannotShareBlocks) : lastError();
        if (info.status == FILE_DEDUPE_RANGE_DIFFERS)
            return Failure::ContentsDiffer;
        if (info.status < 0)
            return cannotShare(-info.status) ? std::error_code(Failure::CannotShareBlocks)
                                             : std::error_code(-info.status, std::generic_category());
        if (info.bytes_deduped == 0) // nothing done and no reason given: do not ask for ever
            return std::make_error_code(std::errc::io_error);
        offset += info.bytes_deduped;
    }
    return {};
}

bool mayShareBlocks(const std::string &path)
{
    constexpr long kBtrfs = 0x9123683E;
    constexpr long kXfs = 0x58465342;
    constexpr long kBcachefs = 0xCA451A4E;
    constexpr long kOcfs2 = 0x7461636F;
    struct statfs volume = {};
    if (::statfs(path.c_str(), &volume) != 0)
        return false;
    const long type = static_cast<long>(volume.f_type);
    return type == kBtrfs || type == kXfs || type == kBcachefs || type == kOcfs2;
}

std::optional<std::vector<Extent>> extentsOf(Handle fd)
{
    constexpr unsigned kAtOnce = 128;
    const std::size_t bytes = sizeof(fiemap) + kAtOnce * sizeof(fiemap_extent);
    const auto storage = std::make_unique<std::uint64_t[]>((bytes + 7) / 8);
    auto *map = reinterpret_cast<fiemap *>(storage.get());
    std::vector<Extent> extents;
    std::uint64_t start = 0;
    for (;;) {
        std::memset(storage.get(), 0, bytes);
        map->fm_start = start;
        map->fm_length = FIEMAP_MAX_OFFSET - start;
        map->fm_flags = FIEMAP_FLAG_SYNC;
        map->fm_extent_count = kAtOnce;
        if (::ioctl(fd.native(), FS_IOC_FIEMAP, map) != 0)
            return std::nullopt;
        if (map->fm_mapped_extents == 0)
            return extents;
        for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
            const fiemap_extent &e = map->fm_extents[i];
            extents.push_back({e.fe_logical, e.fe_physical, e.fe_length, (e.fe_flags & FIEMAP_EXTENT_SHARED) != 0});
            if ((e.fe_flags & FIEMAP_EXTENT_LAST) != 0)
                return extents;
            start = e.fe_logical + e.fe_length;
        }
    }
}

std::error_code replaceByHardLink(const Entry &kept, const Entry &duplicate)
{
    if (kept.identity().device != duplicate.identity().device)
        return Failure::OtherVolume;
    if (kept.identity() == duplicate.identity())
        return Failure::SameFileUnderOtherName;
    const int folder = duplicate.folder.get().native();
    std::string temporary;
    for (unsigned attempt = 0;; ++attempt) {
        temporary = linkName(attempt);
        if (!failsHere(LinkStep::Link)
            && ::linkat(kept.folder.get().native(), kept.name.c_str(), folder, temporary.c_str(), 0) == 0)
            break;
        if (errno == EXDEV)
            return Failure::OtherVolume;
        if (errno != EEXIST || attempt == 99)
            return lastError();
    }
    // From here on the new name goes again on every way out but the one that renames it.
    const auto failed = [&](std::error_code error) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return error;
    };
    std::error_code error;
    const std::optional<FileIdentity> linked = identityAt(folder, temporary, error);
    if (failsHere(LinkStep::Check))
        return failed(lastError());
    if (!linked)
        return failed(error);
    if (*linked != kept.identity())
        return failed(Failure::NotTheSearchedFile); // the kept name was swapped meanwhile
    // An inode number can come back for a new file: its size and time tell it apart.
    struct stat before = {};
    if (::fstatat(folder, duplicate.name.c_str(), &before, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(lastError());
    const FileStatus now = statusFrom(before);
    if (now.identity != duplicate.identity() || now.size != duplicate.status.size
        || now.modified != duplicate.status.modified)
        return failed(Failure::NotTheSearchedFile);
    if (failsHere(LinkStep::Rename) || ::renameat(folder, temporary.c_str(), folder, duplicate.name.c_str()) != 0)
        return failed(lastError());
    // rename() of one name of a file onto another name of the same file does nothing and
    // succeeds: the new name would stay beside the duplicate.
    std::error_code gone;
    if (identityAt(folder, temporary, gone))
        return failed(Failure::SameFileUnderOtherName);
    const std::optional<FileIdentity> after = identityAt(folder, duplicate.name, error);
    if (!after)
        return error;
    return *after == kept.identity() ? std::error_code {} : std::error_code(Failure::NotTheSearchedFile);
}

ScopedLinkStepFault::ScopedLinkStepFault(LinkStep step)
{
    faultyStep.store(static_cast<int>(step));
}

ScopedLinkStepFault::~ScopedLinkStepFault()
{
    faultyStep.store(-1);
}

} // namespace kw::fs
