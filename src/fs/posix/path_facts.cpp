#include "fs/path_facts.h"

#include "fs/posix/stat_conversion.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kw::fs
{

PathKind kindOf(const std::string &path, bool followLast)
{
    struct stat status = {};
    if ((followLast ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0)
        return {EntryKind::Missing, {errno, std::generic_category()}};
    if (S_ISDIR(status.st_mode))
        return {EntryKind::Folder, {}};
    if (S_ISREG(status.st_mode))
        return {EntryKind::RegularFile, {}};
    if (S_ISLNK(status.st_mode))
        return {EntryKind::SymbolicLink, {}};
    return {EntryKind::Other, {}};
}

std::optional<std::string> resolvedPath(const std::string &path)
{
    char *real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return std::nullopt;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

bool readable(const std::string &path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<RegularFileFacts> regularFileFacts(const std::string &path, const std::string &folderPath)
{
    struct stat status = {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    RegularFileFacts facts {stampOf(status), std::nullopt};
    struct stat folder = {};
    if (::stat(folderPath.c_str(), &folder) == 0)
        facts.folder = FileIdentity {folder.st_dev, folder.st_ino};
    return facts;
}

} // namespace kw::fs
