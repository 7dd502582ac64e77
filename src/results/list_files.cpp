#include "results/list_files.h"

#include "fs/file_access.h"
#include "fs/replace_file.h"

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
    return fs::replaceFile(path, plainListText(lines));
}

std::string reopenErrorText(const std::error_code &error)
{
    if (error == std::errc::no_such_file_or_directory)
        return "Datei nicht gefunden";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "Dateizugriff verweigert";
    return "E/A-Fehler " + std::to_string(error.value());
}

namespace
{

// Whether a CR comes before the end of the text (the end of the file, or 0x1A).
bool holdsCr(fs::Handle fd, std::string &buffer)
{
    for (std::uint64_t offset = 0;;) {
        const std::ptrdiff_t n = fs::readAt(fd, buffer.data(), buffer.size(), offset);
        if (n <= 0)
            return false;
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(n));
        const std::size_t stop = piece.find_first_of("\r\x1a");
        if (stop != std::string_view::npos)
            return piece[stop] == '\r';
        offset += static_cast<std::uint64_t>(n);
    }
}

} // namespace

ReopenedList reopenList(const std::string &path, const std::function<bool(const std::string &)> &exists)
{
    ReopenedList result;
    const fs::Opened opened = fs::openRegularFile(path);
    if (opened.error) {
        result.error = opened.error;
        return result;
    }
    const fs::OwnedHandle &fd = opened.fd;
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
    std::string buffer(1 << 20, '\0');
    ListLineReader reader(!holdsCr(fd.get(), buffer));
    for (std::uint64_t offset = 0; !reader.ended();) {
        const std::ptrdiff_t n = fs::readAt(fd.get(), buffer.data(), buffer.size(), offset);
        if (n < 0) {
            result.error = {errno, std::generic_category()};
            return result;
        }
        if (n == 0)
            break;
        reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)), keep);
        offset += static_cast<std::uint64_t>(n);
    }
    reader.finish(keep);
    return result;
}

} // namespace kw::results
