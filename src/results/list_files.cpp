#include "results/list_files.h"

#include "fs/file_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kw::results
{

std::string plainListText(const std::vector<std::string> &lines)
{
    std::size_t size = 0;
    for (const std::string &line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string &line : lines)
        text.append(line).append("\r\n");
    return text;
}

std::error_code writePlainList(const std::string &path, const std::vector<std::string> &lines)
{
    return writeWholeFile(path, plainListText(lines));
}

std::error_code writeWholeFile(const std::string &path, const std::string &bytes)
{
    fs::FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid())
        return {errno, std::generic_category()};
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {errno, std::generic_category()};
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd.release()) != 0)
        return {errno, std::generic_category()};
    return {};
}

} // namespace kw::results
