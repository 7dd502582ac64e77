#include "fs/replace_file.h"

#include "fs/failure.h"
#include "fs/file_access.h"
#include "fs/writing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <random>

namespace kw::fs
{
namespace
{

std::function<void(Handle)> replaceWatch;

// The folder and name a path finally leads to: each link is read from the handle of the
// folder that holds it and its target resolved from there, as the kernel would, without
// realpath's walk over the whole text again.
struct Target {
    OwnedHandle folder;
    std::string name;
    std::error_code error;
};

std::pair<std::string, std::string> splitLast(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

Target resolve(const std::string &path)
{
    auto [folderText, name] = splitLast(path);
    Opened folder = openFolder(folderText);
    for (int links = 0; !folder.error && links < 40; ++links) {
        struct stat status = {};
        if (name.empty() || ::fstatat(folder.fd.get().native(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISLNK(status.st_mode))
            return {std::move(folder.fd), name, {}};
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlinkat(folder.fd.get().native(), name.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return {{}, {}, n < 0 ? lastError() : std::make_error_code(std::errc::filename_too_long)};
        target.resize(static_cast<std::size_t>(n));
        auto [nextFolder, nextName] = splitLast(target);
        if (target.starts_with('/')) {
            folder = openFolder(nextFolder);
        } else {
            OwnedHandle below(
                ::openat(folder.fd.get().native(), nextFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            folder = below.valid() ? Opened {std::move(below), {}} : Opened {{}, lastError()};
        }
        name = std::move(nextName);
    }
    return {{}, {}, folder.error ? folder.error : std::make_error_code(std::errc::too_many_symbolic_link_levels)};
}

// The mode a new file gets: 0666 less the umask, read without changing it (umask(2) would
// change it for every thread a moment).
mode_t newFileMode()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:"))
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return 0666 & ~mask;
}

// The old file rewritten where it is: the room for the new contents is reserved first, so
// that a full volume fails before the old list is touched; then the new bytes, then the
// old ones after them cut off.
std::error_code overwriteInPlace(Handle fd, std::string_view bytes)
{
    if (!bytes.empty() && ::fallocate(fd.native(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS)
        return lastError();
    if (const std::error_code error = writeAll(fd, bytes, 0))
        return error;
    if (::ftruncate(fd.native(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd.native()) != 0)
        return lastError();
    return {};
}

// Writes `bytes` into what `path` opens, creating nothing beside it: a device, FIFO or socket
// as ">" does, nothing truncated; a regular file rewritten in place.
std::error_code writeOpened(const std::string &path, std::string_view bytes, bool regularFile)
{
    OwnedHandle fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        return lastError();
    if (const std::error_code error = regularFile ? overwriteInPlace(fd.get(), bytes) : writeAll(fd.get(), bytes))
        return error;
    return ::close(fd.release().native()) == 0 ? std::error_code {} : lastError();
}

struct Temporary {
    OwnedHandle fd;
    std::string name;
    std::error_code error;
};

Temporary createTemporary(int folder)
{
    std::mt19937_64 random {std::random_device {}()};
    Temporary temporary;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary.name = ".kopienwacht-" + std::to_string(random() % 100000000) + ".tmp";
        temporary.fd = OwnedHandle(
            ::openat(folder, temporary.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (temporary.fd.valid() || errno != EEXIST)
            break;
    }
    if (!temporary.fd.valid())
        temporary.error = lastError();
    return temporary;
}

// Gives the new file the old one's owner and mode (or the mode a new file gets), once its
// contents are in: until then no one else may read it.
std::error_code takeOver(int fd, const struct stat *old)
{
    if (old != nullptr) {
        struct stat made = {};
        if (::fstat(fd, &made) != 0)
            return lastError();
        if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) && ::fchown(fd, old->st_uid, old->st_gid) != 0)
            return lastError();
    }
    return ::fchmod(fd, old != nullptr ? old->st_mode & 07777 : newFileMode()) == 0 ? std::error_code {} : lastError();
}

} // namespace

std::error_code replaceFile(const std::string &path, std::string_view bytes)
{
    struct stat old = {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return lastError();
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return std::make_error_code(std::errc::is_a_directory);
        if (S_ISCHR(old.st_mode) || S_ISFIFO(old.st_mode) || S_ISSOCK(old.st_mode))
            return writeOpened(path, bytes, false);
        if (!S_ISREG(old.st_mode))
            return Failure::NotARegularFile;
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            return lastError();
    }
    const Target target = resolve(path);
    if (target.error)
        return target.error;
    struct stat there = {};
    const bool found = ::fstatat(target.folder.get().native(), target.name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0;
    // A name that is not where the link text says (a /proc/self/fd link), or further names
    // of the same file: written where it is, so that every name sees the new list.
    if (exists && (!found || there.st_dev != old.st_dev || there.st_ino != old.st_ino || old.st_nlink > 1))
        return writeOpened(path, bytes, true);
    if (target.name.empty())
        return std::make_error_code(std::errc::is_a_directory);

    Temporary temporary = createTemporary(target.folder.get().native());
    if (!temporary.fd.valid()) {
        if (exists
            && (temporary.error == std::errc::permission_denied || temporary.error == std::errc::read_only_file_system))
            return writeOpened(path, bytes, true);
        return temporary.error;
    }
    const int folder = target.folder.get().native();
    const auto dropTemporary = [&] { ::unlinkat(folder, temporary.name.c_str(), 0); };
    std::error_code error = writeAll(temporary.fd.get(), bytes);
    if (!error && replaceWatch)
        replaceWatch(temporary.fd.get());
    if (!error && (error = takeOver(temporary.fd.get().native(), exists ? &old : nullptr)) && exists) {
        dropTemporary(); // the owner cannot be kept by a new file: the old one is rewritten
        return writeOpened(path, bytes, true);
    }
    if (!error && ::fsync(temporary.fd.get().native()) != 0)
        error = lastError();
    if (::close(temporary.fd.release().native()) != 0 && !error)
        error = lastError();
    if (!error && ::renameat(folder, temporary.name.c_str(), folder, target.name.c_str()) != 0)
        error = lastError();
    if (error)
        dropTemporary();
    return error;
}

ScopedReplaceWatch::ScopedReplaceWatch(std::function<void(Handle fd)> watch)
{
    replaceWatch = std::move(watch);
}

ScopedReplaceWatch::~ScopedReplaceWatch()
{
    replaceWatch = nullptr;
}

} // namespace kw::fs
