#include "fs/file_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace kw::fs
{
namespace
{

std::function<bool(std::string_view)> &openFault()
{
    static std::function<bool(std::string_view)> fault;
    return fault;
}

bool inSupplementaryGroups(gid_t group)
{
    static const std::vector<gid_t> groups = [] {
        const int count = ::getgroups(0, nullptr);
        std::vector<gid_t> result(count > 0 ? static_cast<std::size_t>(count) : 0);
        if (count > 0 && ::getgroups(count, result.data()) < 0)
            result.clear();
        return result;
    }();
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

} // namespace

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

int FileDescriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void FileDescriptor::reset()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

OpenedFile openForReading(const std::string &path)
{
    OpenedFile result;
    if (openFaultFor(path)) {
        result.error = std::make_error_code(std::errc::permission_denied);
        return result;
    }
    result.fd = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!result.fd.valid())
        result.error = std::error_code(errno, std::generic_category());
    return result;
}

std::optional<struct stat> statusOf(int fd)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return std::nullopt;
    return status;
}

std::ptrdiff_t readAt(int fd, char *buffer, std::size_t length, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
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

bool readableByMode(const struct stat &status)
{
    // Asked once per listed file: the ids are read once per process.
    static const uid_t user = ::geteuid();
    static const gid_t group = ::getegid();
    if (user == 0)
        return true;
    if (status.st_uid == user)
        return (status.st_mode & S_IRUSR) != 0;
    if (status.st_gid == group || inSupplementaryGroups(status.st_gid))
        return (status.st_mode & S_IRGRP) != 0;
    return (status.st_mode & S_IROTH) != 0;
}

bool fileExists(const std::string &path)
{
    struct stat status = {};
    return ::lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

void setOpenFault(std::function<bool(std::string_view path)> fault)
{
    openFault() = std::move(fault);
}

bool openFaultActive()
{
    return static_cast<bool>(openFault());
}

bool openFaultFor(std::string_view path)
{
    const auto &fault = openFault();
    return fault && fault(path);
}

} // namespace kw::fs
