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

std::string reopenErrorText(const std::error_code &error)
{
    if (error == std::errc::no_such_file_or_directory)
        return "Datei nicht gefunden";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "Dateizugriff verweigert";
    return "E/A-Fehler " + std::to_string(error.value());
}

ReopenedList reopenList(const std::string &path, const std::function<bool(const std::string &)> &exists)
{
    ReopenedList result;
    const fs::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid()) {
        result.error = {errno, std::generic_category()};
        return result;
    }
    const auto status = fs::statusOf(fd.get());
    if (status && !S_ISREG(status->st_mode)) { // a device or a pipe could be read for ever
        result.error = std::make_error_code(std::errc::invalid_argument);
        return result;
    }
    result.opened = true;

    // A line with a NUL byte (an overlong one is handed over as one) cannot name a file.
    const auto keep = [&](std::string_view line) {
        if (line.empty()) {
            if (!result.lines.empty())
                result.lines.emplace_back();
        } else if (line.find('\0') == std::string_view::npos) {
            std::string text(line);
            if (exists(text))
                result.lines.push_back(std::move(text));
        }
    };
    ListLineReader reader;
    std::string buffer(1 << 20, '\0');
    while (!reader.ended()) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = {errno, std::generic_category()};
            return result;
        }
        if (n == 0)
            break;
        reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)), keep);
    }
    reader.finish(keep);
    return result;
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
