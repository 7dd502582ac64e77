#include "fs/trash.h"

#include "fs/file_access.h"
#include "fs/path_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace kw::fs
{
namespace
{

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// Creates `path` and its missing parents; the last one with `mode`.
std::error_code makeFolders(const std::string &path, mode_t mode)
{
    struct stat status = {};
    if (::lstat(path.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode) ? std::error_code {} : std::make_error_code(std::errc::not_a_directory);
    const std::string parent(path.substr(0, path.rfind('/')));
    if (!parent.empty() && parent != path) {
        if (const std::error_code error = makeFolders(parent, 0755))
            return error;
    }
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST)
        return lastError();
    return {};
}

std::optional<dev_t> deviceOf(const std::string &path)
{
    struct stat status = {};
    if (::lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status.st_dev;
}

// The path itself if it exists, else the closest folder above it that does.
std::string nearestExisting(std::string path)
{
    while (path.size() > 1 && !deviceOf(path))
        path = folderForm(path.substr(0, path.rfind('/')));
    return path.empty() ? std::string("/") : path;
}

// The mount point of the volume `path` lies on: the highest folder above it on its device.
std::string topFolderOf(const std::string &path, dev_t device)
{
    std::string top = folderForm(path.substr(0, path.rfind('/')));
    if (top.empty())
        top = "/";
    while (top != "/") {
        std::string parent = top.substr(0, top.rfind('/'));
        if (parent.empty())
            parent = "/";
        const auto parentDevice = deviceOf(parent);
        if (!parentDevice || *parentDevice != device)
            break;
        top = parent;
    }
    return top;
}

// A folder of our own that is no link: the trash must not be redirected elsewhere.
bool ownedFolder(const std::string &path)
{
    struct stat status = {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid();
}

// The trash folder for a file on another volume than the home trash, or nothing.
std::optional<std::string> volumeTrash(const std::string &top)
{
    const std::string uid = std::to_string(::geteuid());
    const std::string shared = joinPath(top, ".Trash");
    struct stat status = {};
    if (::lstat(shared.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX) != 0) {
        const std::string own = joinPath(shared, uid);
        if (!makeFolders(own, 0700) && ownedFolder(own))
            return own;
    }
    const std::string own = joinPath(top, ".Trash-" + uid);
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    if (!ownedFolder(own))
        return std::nullopt;
    return own;
}

std::string deletionDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// "name.ext" → "name.2.ext", "name.3.ext", …; a name starting with "." keeps it whole.
std::string numberedName(const std::string &name, int number)
{
    if (number == 1)
        return name;
    const std::size_t dot = name.rfind('.');
    const std::string suffix = "." + std::to_string(number);
    if (dot == std::string::npos || dot == 0)
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

// Reserves a name in the trash by creating its .trashinfo file exclusively, then moves the
// file in under that name.
std::error_code moveInto(const std::string &trash, const std::string &path, const std::string &recordedPath)
{
    const std::string files = joinPath(trash, "files");
    const std::string info = joinPath(trash, "info");
    if (const std::error_code error = makeFolders(files, 0700))
        return error;
    if (const std::error_code error = makeFolders(info, 0700))
        return error;
    const std::string content
        = "[Trash Info]\nPath=" + trashInfoPath(recordedPath) + "\nDeletionDate=" + deletionDate() + "\n";
    const std::string name(baseName(path));
    for (int number = 1; number < 10000; ++number) {
        const std::string candidate = numberedName(name, number);
        const std::string infoFile = joinPath(info, candidate + ".trashinfo");
        const std::string target = joinPath(files, candidate);
        if (::access(target.c_str(), F_OK) == 0)
            continue;
        FileDescriptor fd(::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            return lastError();
        }
        const bool written = ::write(fd.get(), content.data(), content.size()) == static_cast<ssize_t>(content.size());
        fd.reset();
        if (!written) {
            const std::error_code error = lastError();
            ::unlink(infoFile.c_str());
            return error;
        }
        if (::rename(path.c_str(), target.c_str()) != 0) {
            const std::error_code error = lastError();
            ::unlink(infoFile.c_str());
            return error;
        }
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

} // namespace

std::string trashInfoPath(const std::string &path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || std::string_view("/-_.!~*'()").find(c) != std::string_view::npos;
        if (keep) {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded.push_back(hex[byte >> 4]);
            encoded.push_back(hex[byte & 15]);
        }
    }
    return encoded;
}

std::string FreedesktopTrash::defaultHomeTrash()
{
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return joinPath(folderForm(dataHome), "Trash");
    const char *home = std::getenv("HOME");
    return joinPath(home != nullptr && home[0] == '/' ? folderForm(home) : std::string("/"), ".local/share/Trash");
}

FreedesktopTrash::FreedesktopTrash(std::string homeTrash)
    : m_homeTrash(homeTrash.empty() ? defaultHomeTrash() : std::move(homeTrash))
{
}

std::error_code FreedesktopTrash::moveToTrash(const std::string &path)
{
    const auto fileDevice = deviceOf(path);
    if (!fileDevice)
        return lastError();
    // A file on the home trash's volume goes there or nowhere; the volume's own trash folders
    // are for the other volumes.
    if (deviceOf(nearestExisting(m_homeTrash)) == fileDevice) {
        if (const std::error_code error = makeFolders(m_homeTrash, 0700))
            return error;
        if (!ownedFolder(m_homeTrash))
            return std::make_error_code(std::errc::permission_denied);
        return moveInto(m_homeTrash, path, path);
    }
    const std::string top = topFolderOf(path, *fileDevice);
    const auto trash = volumeTrash(top);
    if (!trash)
        return std::make_error_code(std::errc::cross_device_link);
    // In a volume's own trash the path is recorded relative to the volume's top folder.
    const std::string relative = top == "/" ? path.substr(1) : path.substr(top.size() + 1);
    return moveInto(*trash, path, relative);
}

} // namespace kw::fs
