#include "fs/writing.h"

#include "fs/failure.h"

#include <unistd.h>

#include <cerrno>

namespace kw::fs
{

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

std::error_code writeAll(Handle handle, std::string_view bytes, std::optional<std::uint64_t> offset)
{
    const int fd = handle.native();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = offset
            ? ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(*offset + done))
            : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            return Failure::ShortWrite;
        done += static_cast<std::size_t>(n);
    }
    return {};
}

void writeStandardErrorInSignal(const char *bytes, std::size_t length)
{
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, bytes, length);
}

} // namespace kw::fs
