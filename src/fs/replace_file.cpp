#include "fs/replace_file.h"

#include "fs/failure.h"
#include "fs/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

namespace kw::fs
{
namespace
{

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

std::error_code writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            return Failure::ShortWrite;
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// The file a path names, through a link: replacing it must not replace the link.
std::string targetOf(const std::string &path)
{
    struct stat status = {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char *real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string target(real);
    std::free(real);
    return target;
}

std::error_code overwriteInPlace(const std::string &path, std::string_view bytes)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!fd.valid())
        return lastError();
    if (const std::error_code error = writeAll(fd.get(), bytes))
        return error;
    if (::close(fd.release()) != 0)
        return lastError();
    return {};
}

} // namespace

std::error_code replaceFile(const std::string &path, std::string_view bytes)
{
    const std::string target = targetOf(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    struct stat old = {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return std::make_error_code(std::errc::is_a_directory);

    std::mt19937_64 random {std::random_device {}()};
    std::string temporary;
    FileDescriptor fd;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = folder + ".kopienwacht-" + std::to_string(random() % 100000000) + ".tmp";
        fd = FileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST)
            break;
    }
    if (!fd.valid()) {
        const std::error_code error = lastError();
        if (exists && (error == std::errc::permission_denied || error == std::errc::read_only_file_system)
            && ::access(target.c_str(), W_OK) == 0)
            return overwriteInPlace(target, bytes);
        return error;
    }
    std::error_code error = writeAll(fd.get(), bytes);
    if (!error && exists && ::fchmod(fd.get(), old.st_mode & 07777) != 0)
        error = lastError();
    if (!error && ::fsync(fd.get()) != 0)
        error = lastError();
    if (::close(fd.release()) != 0 && !error)
        error = lastError();
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = lastError();
    if (error)
        ::unlink(temporary.c_str());
    return error;
}

} // namespace kw::fs
