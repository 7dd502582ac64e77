#include "fs/file_access.h"

#include "fs/open_faults.h"
#include "fs/posix/open_below.h"
#include "fs/posix/stat_conversion.h"
#include "fs/writing.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>

namespace kw::fs
{
namespace
{

// openat2 resolves a whole relative path in one call and refuses every link on the way.
// Kernels before 5.6 and some sandboxes refuse the call itself; then the path is opened
// name by name (openat2Refused()), which the kernel has always been able to do.

int openat2NoLinks(int base, const char *path, int flags)
{
    open_how how = {};
    how.flags = static_cast<std::uint64_t>(flags);
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, base, path, &how, sizeof how));
}

// A name that fails as a folder on the way may be a link: say so, as openat2 would.
std::error_code stepError(int at, const std::string &name)
{
    const std::error_code error = lastError();
    struct stat status = {};
    if (error == std::errc::not_a_directory && ::fstatat(at, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(status.st_mode))
        return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return error;
}

Opened openNameByName(int base, std::string_view relative, int flags)
{
    Opened result;
    OwnedHandle current;
    int at = base;
    for (;;) {
        const std::size_t slash = relative.find('/');
        const std::string name(relative.substr(0, slash));
        const bool last = slash == std::string_view::npos;
        relative = last ? std::string_view {} : relative.substr(slash + 1);
        if (name.empty() && !last)
            continue;
        const int stepFlags = last ? flags : O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        OwnedHandle next(::openat(at, name.empty() ? "." : name.c_str(), stepFlags));
        if (!next.valid()) {
            result.error = stepError(at, name);
            return result;
        }
        current = std::move(next);
        at = current.get().native();
        if (last) {
            result.fd = std::move(current);
            return result;
        }
    }
}

Opened openWithinLimit(int base, std::string_view relative, int flags)
{
    // Shorter than PATH_MAX by construction: a copy on the stack, not on the heap, since
    // this runs for every file compared.
    char path[PATH_MAX];
    const std::string_view text = relative.empty() ? std::string_view(".") : relative;
    text.copy(path, text.size());
    path[text.size()] = '\0';
    if (!openat2Refused().load(std::memory_order_relaxed)) {
        Opened result;
        result.fd = OwnedHandle(openat2NoLinks(base, path, flags));
        if (result.fd.valid())
            return result;
        const int error = errno;
        if (error == ENOTDIR) // a link where a folder was asked for: name by name tells which
            return openNameByName(base, path, flags);
        if (error != ENOSYS && error != EPERM && error != E2BIG) {
            result.error = {error, std::generic_category()};
            return result;
        }
        Opened fallback = openNameByName(base, path, flags);
        if (error != EPERM || !fallback.error)
            openat2Refused().store(true, std::memory_order_relaxed);
        return fallback;
    }
    return openNameByName(base, path, flags);
}

} // namespace

Opened openFolder(const std::string &path)
{
    Opened result;
    result.fd = OwnedHandle(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!result.fd.valid())
        result.error = lastError();
    return result;
}

Opened openBelow(Handle base, std::string_view relative, int flags)
{
    flags |= O_NOFOLLOW | O_CLOEXEC;
    // A path is handed to the kernel in pieces that each stay below its length limit; the
    // folder where one piece ends is where the next one starts.
    constexpr std::size_t kPiece = PATH_MAX - 256;
    OwnedHandle hop;
    int at = base.native();
    while (relative.size() >= kPiece) {
        const std::size_t cut = relative.rfind('/', kPiece);
        if (cut == std::string_view::npos || cut == 0)
            return {OwnedHandle {}, std::make_error_code(std::errc::filename_too_long)};
        Opened step = openWithinLimit(at, relative.substr(0, cut), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (step.error)
            return step;
        hop = std::move(step.fd);
        at = hop.get().native();
        relative.remove_prefix(cut + 1);
    }
    return openWithinLimit(at, relative, flags);
}

Opened openNameHandleBelow(Handle base, std::string_view relative, bool folder)
{
    return openBelow(base, relative, O_PATH | (folder ? O_DIRECTORY : 0));
}

Opened openFolderBelow(Handle base, std::string_view relative)
{
    return openBelow(base, relative, O_RDONLY | O_DIRECTORY);
}

Opened openRegularFile(const std::string &path)
{
    Opened result;
    result.fd = OwnedHandle(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!result.fd.valid()) {
        result.error = lastError();
        return result;
    }
    const Status status = statusOf(result.fd.get());
    if (!status.error && status.status.kind != FileKind::Regular) {
        result.fd.reset();
        result.error = std::make_error_code(std::errc::invalid_argument);
    }
    return result;
}

Opened openForReading(Handle base, std::string_view relative)
{
    return openBelow(base, relative, O_RDONLY | O_NONBLOCK | O_NOCTTY);
}

Status statusOf(Handle fd)
{
    Status result;
    struct stat status = {};
    if (::fstat(fd.native(), &status) != 0)
        result.error = lastError();
    else
        result.status = statusFrom(status);
    return result;
}

Status statusOfPath(Handle base, std::string_view relative)
{
    Status result;
    char text[PATH_MAX];
    const bool fits = relative.size() < PATH_MAX;
    if (fits) {
        relative.copy(text, relative.size());
        text[relative.size()] = '\0';
    }
    struct stat status = {};
    if (fits && ::fstatat(base.native(), text, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        result.status = statusFrom(status);
        return result;
    }
    result.error = fits ? lastError() : std::make_error_code(std::errc::filename_too_long);
    if (result.error != std::errc::filename_too_long)
        return result;
    const Opened opened = openBelow(base, relative, O_PATH);
    if (opened.error) {
        result.error = opened.error;
        return result;
    }
    return statusOf(opened.fd.get());
}

std::ptrdiff_t readAt(Handle fd, char *buffer, std::size_t length, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd.native(), buffer + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

std::ptrdiff_t readCachedAt(Handle fd, char *buffer, std::size_t length, std::uint64_t offset)
{
    iovec piece {buffer, length};
    return ::preadv2(fd.native(), &piece, 1, static_cast<off_t>(offset), RWF_NOWAIT);
}

void adviseSequential(Handle fd)
{
    ::posix_fadvise(fd.native(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

void adviseWillNeed(Handle fd, std::uint64_t length)
{
    ::posix_fadvise(fd.native(), 0, static_cast<off_t>(length), POSIX_FADV_WILLNEED);
}

bool fileExists(const std::string &path)
{
    struct stat status = {};
    return ::lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

} // namespace kw::fs
