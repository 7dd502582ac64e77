#include "fs/entry.h"

#include "fs/failure.h"
#include "fs/open_faults.h"
#include "fs/posix/open_below.h"
#include "fs/posix/stat_conversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace kw::fs
{
namespace
{

EntryResult entryIn(OwnedHandle folder, std::string name, std::string path)
{
    EntryResult result;
    const Status folderStatus = statusOf(folder.get());
    if (folderStatus.error) {
        result.error = folderStatus.error;
        return result;
    }
    struct stat status = {};
    if (::fstatat(folder.get().native(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        result.error = {errno, std::generic_category()};
        return result;
    }
    result.entry.status = statusFrom(status);
    result.entry.folder = std::move(folder);
    result.entry.folderIdentity = folderStatus.identity();
    result.entry.name = std::move(name);
    result.entry.path = std::move(path);
    return result;
}

} // namespace

EntryResult findEntry(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return {Entry {}, std::make_error_code(std::errc::invalid_argument)};
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    Opened opened = openFolder(folder);
    if (opened.error)
        return {Entry {}, opened.error};
    return entryIn(std::move(opened.fd), path.substr(slash + 1), path);
}

EntryResult findEntryBelow(Handle base, std::string_view relative, std::string path)
{
    const std::size_t slash = relative.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? std::string_view {} : relative.substr(0, slash);
    const std::string name(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    if (name.empty())
        return {Entry {}, std::make_error_code(std::errc::invalid_argument)};
    Opened opened = openBelow(base, folder, O_PATH | O_DIRECTORY);
    if (opened.error)
        return {Entry {}, opened.error};
    return entryIn(std::move(opened.fd), name, std::move(path));
}

Opened openEntryForReading(const Entry &entry)
{
    if (openFaultFor(entry.path))
        return {OwnedHandle {}, std::make_error_code(std::errc::permission_denied)};
    Opened opened;
    opened.fd = OwnedHandle(::openat(
        entry.folder.get().native(), entry.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!opened.fd.valid()) {
        opened.error = {errno, std::generic_category()};
        return opened;
    }
    const Status status = statusOf(opened.fd.get());
    if (status.error || status.identity() != entry.identity()) {
        opened.fd.reset();
        opened.error = Failure::NotTheSearchedFile;
    }
    return opened;
}

std::error_code compareContents(Handle a, Handle b, bool &equal)
{
    constexpr std::size_t kBlock = 256 * 1024;
    const auto first = std::make_unique_for_overwrite<char[]>(kBlock);
    const auto second = std::make_unique_for_overwrite<char[]>(kBlock);
    equal = false;
    for (std::uint64_t offset = 0;; offset += kBlock) {
        const std::ptrdiff_t n = readAt(a, first.get(), kBlock, offset);
        const std::ptrdiff_t m = readAt(b, second.get(), kBlock, offset);
        if (n < 0 || m < 0)
            return {errno, std::generic_category()};
        if (n != m || std::memcmp(first.get(), second.get(), static_cast<std::size_t>(n)) != 0)
            return {};
        if (n == 0) {
            equal = true;
            return {};
        }
    }
}

} // namespace kw::fs
