#include "fs/trash.h"

#include "fs/failure.h"
#include "fs/path_text.h"
#include "fs/volumes.h"
#include "fs/writing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace kw::fs
{
namespace
{

constexpr std::size_t kNameMax = 255;
constexpr std::string_view kInfoSuffix = ".trashinfo";

// A trash folder and its two halves, open and checked.
struct TrashFolder {
    OwnedHandle folder;
    OwnedHandle files;
    OwnedHandle info;
    dev_t device = 0;
    std::string path; // for messages
};

// How far a trash folder's mode is trusted: on a volume that stores no permissions every
// entry shows 0777, and only the owner and the kind of entry mean something.
enum class Modes {
    Kept, // others may not write in it
    NotStored, // the volume keeps none: every entry shows 0777
};

struct TrashResult {
    std::optional<TrashFolder> trash;
    std::error_code error;
};

// A folder of the trash must be ours, and no one else may write in it: else another user
// could take or read what is moved there.
std::error_code checkOurs(Handle fd, Modes modes)
{
    const Status status = statusOf(fd);
    if (status.error)
        return status.error;
    if (status.status.kind != FileKind::Folder || status.status.owner != ::geteuid()
        || (modes == Modes::Kept && (status.status.permissions & (S_IWGRP | S_IWOTH)) != 0))
        return Failure::UnsafeTrash;
    return {};
}

// Opens the folder `name` in `at`, making it first if it is missing. A link where the
// folder should be is not followed.
Opened openOrMake(int at, const char *name, mode_t mode, Modes modes)
{
    if (::mkdirat(at, name, mode) != 0 && errno != EEXIST)
        return {OwnedHandle {}, lastError()};
    Opened opened;
    opened.fd = OwnedHandle(::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened.fd.valid())
        opened.error = errno == ELOOP || errno == ENOTDIR ? std::error_code(Failure::UnsafeTrash) : lastError();
    else if (const std::error_code error = checkOurs(opened.fd.get(), modes))
        return {OwnedHandle {}, error};
    return opened;
}

TrashResult halvesOf(OwnedHandle folder, std::string path, Modes modes)
{
    TrashResult result;
    if (const std::error_code error = checkOurs(folder.get(), modes)) {
        result.error = error;
        return result;
    }
    Opened files = openOrMake(folder.get().native(), "files", 0700, modes);
    if (files.error) {
        result.error = files.error;
        return result;
    }
    Opened info = openOrMake(folder.get().native(), "info", 0700, modes);
    if (info.error) {
        result.error = info.error;
        return result;
    }
    const Status status = statusOf(folder.get());
    result.trash = TrashFolder {
        std::move(folder), std::move(files.fd), std::move(info.fd), status.identity().device, std::move(path)};
    return result;
}

// Creates the folders of `path` that are missing, following the links the user has made.
std::error_code makeFolders(const std::string &path, mode_t lastMode)
{
    struct stat status = {};
    if (::stat(path.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode) ? std::error_code {} : std::make_error_code(std::errc::not_a_directory);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (const std::error_code error = makeFolders(path.substr(0, slash), 0755))
            return error;
    }
    if (::mkdir(path.c_str(), lastMode) != 0 && errno != EEXIST)
        return lastError();
    return {};
}

// The home trash. It may be a link the user made to a folder of their own elsewhere; the
// folder it leads to must be theirs.
TrashResult homeTrashFolder(const std::string &path)
{
    TrashResult result;
    if ((result.error = makeFolders(path, 0700)))
        return result;
    Opened opened = openFolder(path);
    if (opened.error) {
        result.error = opened.error;
        return result;
    }
    return halvesOf(std::move(opened.fd), path, Modes::Kept);
}

// Whether the volume mounted at `top` keeps no permissions: its file systems cannot store
// them (the kernel's or FUSE's drivers of FAT, exFAT, NTFS show the mount's umask), or its
// top folder shows 0777 and ours, as such a mount with umask=000 does. There anyone may
// write everywhere anyway, and the folder's mode says nothing about who made it.
Modes modesOf(const Mount &mount, Handle topFolder)
{
    static constexpr std::array<std::string_view, 6> kinds = {"fuseblk", "vfat", "exfat", "ntfs3", "msdos", "ntfs"};
    if (std::find(kinds.begin(), kinds.end(), mount.type) != kinds.end())
        return Modes::NotStored;
    const Status status = statusOf(topFolder);
    const bool everyoneWrites = !status.error && (status.status.permissions & 0777) == 0777
        && (status.status.permissions & S_ISVTX) == 0 && status.status.owner == ::geteuid();
    return everyoneWrites ? Modes::NotStored : Modes::Kept;
}

// The trash of another volume, in the folder `top` where it is mounted.
TrashResult volumeTrashFolder(const Mount &mount)
{
    const std::string &top = mount.point;
    TrashResult result;
    Opened topFolder = openFolder(top);
    if (topFolder.error) {
        result.error = topFolder.error;
        return result;
    }
    const std::string uid = std::to_string(::geteuid());
    // $topdir/.Trash serves every user when an administrator made it: a real folder with
    // the sticky bit, never a link.
    const OwnedHandle shared(
        ::openat(topFolder.fd.get().native(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const Status sharedStatus = shared.valid() ? statusOf(shared.get()) : Status {{}, lastError()};
    if (!sharedStatus.error && (sharedStatus.status.permissions & S_ISVTX) != 0) {
        Opened own = openOrMake(shared.get().native(), uid.c_str(), 0700, Modes::Kept);
        if (!own.error) {
            result = halvesOf(std::move(own.fd), joinPath(top, ".Trash/" + uid), Modes::Kept);
            if (result.trash)
                return result;
        }
    }
    const Modes modes = modesOf(mount, topFolder.fd.get());
    Opened own = openOrMake(topFolder.fd.get().native(), (".Trash-" + uid).c_str(), 0700, modes);
    if (own.error) {
        result.error = own.error == std::errc::permission_denied || own.error == std::errc::read_only_file_system
            ? std::error_code(Failure::NoUsableTrash)
            : own.error;
        return result;
    }
    return halvesOf(std::move(own.fd), joinPath(top, ".Trash-" + uid), modes);
}

// Where the entry really lies: the kernel's path of its folder, not the text that led there.
std::string realPathOf(const Entry &entry)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", entry.folder.get().native());
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link, target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size() || target[0] != '/')
        return entry.path;
    target.resize(static_cast<std::size_t>(n));
    return joinPath(target, entry.name);
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

// The length of the longest start of `text` of at most `limit` bytes that ends between
// two characters.
std::size_t cutBefore(std::string_view text, std::size_t limit)
{
    std::size_t cut = std::min(limit, text.size());
    while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

// The device of `path`, or of the nearest folder above it that exists.
std::optional<dev_t> deviceOfNearest(std::string path)
{
    for (;;) {
        struct stat status = {};
        if (::stat(path.c_str(), &status) == 0)
            return status.st_dev;
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || path == "/")
            return std::nullopt;
        path = slash == 0 ? std::string("/") : path.substr(0, slash);
    }
}

bool sameIdentity(const struct stat &a, const Entry &entry)
{
    return FileIdentity {a.st_dev, a.st_ino} == entry.identity();
}

std::atomic<bool> putBackFault {false};

} // namespace

// A file moved to the trash, and where it came from: enough to put it back.
struct FreedesktopTrash::Move {
    TrashFolder trash;
    std::string name; // in files/
    std::string infoName; // in info/
    OwnedHandle from; // the folder it came from
    std::string fromName;

    std::string place() const { return joinPath(trash.path, "files/" + name); }

    // Back where it came from; the record goes only once the file is back.
    std::error_code putBack() const
    {
        if (putBackFault.load())
            return std::make_error_code(std::errc::io_error);
        if (::renameat2(
                trash.files.get().native(), name.c_str(), from.get().native(), fromName.c_str(), RENAME_NOREPLACE)
            != 0) {
            if (errno != EINVAL)
                return lastError();
            struct stat taken = {};
            if (::fstatat(from.get().native(), fromName.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
                return std::make_error_code(std::errc::file_exists);
            if (::renameat(trash.files.get().native(), name.c_str(), from.get().native(), fromName.c_str()) != 0)
                return lastError();
        }
        ::unlinkat(trash.info.get().native(), infoName.c_str(), 0);
        return {};
    }
};

namespace
{

// Moves the entry in under a name of its own: the .trashinfo is reserved first (created
// exclusively), then the file is renamed in without replacing anything there, and what
// arrived is checked to be what was meant. `move` learns where it went.
std::error_code moveInto(FreedesktopTrash::Move &move, const Entry &entry, const std::string &recordedPath)
{
    const TrashFolder &trash = move.trash;
    const std::string content
        = "[Trash Info]\nPath=" + trashInfoPath(recordedPath) + "\nDeletionDate=" + deletionDate() + "\n";
    for (int number = 1; number < 10000; ++number) {
        const std::string name = trashName(entry.name, number);
        const std::string infoName = name + std::string(kInfoSuffix);
        OwnedHandle info(::openat(
            trash.info.get().native(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!info.valid()) {
            if (errno == EEXIST)
                continue;
            return lastError();
        }
        const auto dropInfo = [&](std::error_code error) {
            ::unlinkat(trash.info.get().native(), infoName.c_str(), 0);
            return error;
        };
        std::error_code error = writeAll(info.get(), content);
        if (::close(info.release().native()) != 0 && !error)
            error = lastError();
        if (error)
            return dropInfo(error);

        struct stat now = {};
        if (::fstatat(entry.folder.get().native(), entry.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
            return dropInfo(lastError());
        if (!sameIdentity(now, entry))
            return dropInfo(Failure::NotTheSearchedFile);
        if (::renameat2(entry.folder.get().native(), entry.name.c_str(), trash.files.get().native(), name.c_str(),
                RENAME_NOREPLACE)
            != 0) {
            if (errno == EEXIST) { // an entry without its .trashinfo: leave it, take the next name
                dropInfo({});
                continue;
            }
            if (errno != EINVAL) // EINVAL: the file system cannot promise not to replace
                return dropInfo(lastError());
            struct stat taken = {};
            if (::fstatat(trash.files.get().native(), name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
                dropInfo({});
                continue;
            }
            if (::renameat(entry.folder.get().native(), entry.name.c_str(), trash.files.get().native(), name.c_str())
                != 0)
                return dropInfo(lastError());
        }
        move.name = name;
        move.infoName = infoName;
        move.from = OwnedHandle(::fcntl(entry.folder.get().native(), F_DUPFD_CLOEXEC, 0));
        move.fromName = entry.name;
        struct stat moved = {};
        if (::fstatat(trash.files.get().native(), name.c_str(), &moved, AT_SYMLINK_NOFOLLOW) != 0
            || !sameIdentity(moved, entry)) {
            // Swapped in the moment between the last look and the move: put it back. What
            // cannot be put back keeps its record, so that the file manager can restore it.
            if (move.from.valid() && !move.putBack())
                return Failure::NotTheSearchedFile;
            return Failure::StrandedInTrash;
        }
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

// The top of the volume that holds `real` (the file's real path) on `device`: the mount
// point, or below it the highest folder still on the file's own device, as a btrfs
// subvolume has a device of its own without a mount of its own.
std::string volumeTopOf(const std::string &real, const std::string &mountPoint, dev_t device)
{
    struct stat status = {};
    if (::stat(mountPoint.c_str(), &status) == 0 && status.st_dev == device)
        return mountPoint;
    std::string top = real.substr(0, real.rfind('/'));
    while (top.size() > mountPoint.size()) {
        const std::size_t slash = top.rfind('/');
        const std::string parent = slash == 0 ? std::string("/") : top.substr(0, slash);
        if (::stat(parent.c_str(), &status) != 0 || status.st_dev != device)
            break;
        top = parent;
    }
    return top.empty() ? std::string("/") : top;
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

std::string trashName(const std::string &name, int number)
{
    // "name.ext" → "name.2.ext"; a name starting with "." keeps it whole; a long extension
    // is no extension.
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 && name.size() - dot <= 32;
    const std::string_view stem = hasExtension ? std::string_view(name).substr(0, dot) : std::string_view(name);
    const std::string_view extension = hasExtension ? std::string_view(name).substr(dot) : std::string_view {};
    const std::string suffix = number == 1 ? std::string() : "." + std::to_string(number);
    const std::size_t room = kNameMax - kInfoSuffix.size() - suffix.size() - extension.size();
    std::string result(stem.substr(0, cutBefore(stem, room)));
    result.append(suffix).append(extension);
    return result;
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

FreedesktopTrash::~FreedesktopTrash() = default;

std::error_code FreedesktopTrash::moveToTrash(const Entry &entry)
{
    m_last.reset();
    const std::string real = realPathOf(entry);
    // A file on the home trash's volume goes there; the volume's own trash folders are for
    // the other volumes, and for a file on another mount of the home volume, which cannot be
    // renamed into the home trash.
    TrashResult home = homeTrashFolder(m_homeTrash);
    if (home.trash && home.trash->device == entry.identity().device) {
        auto move = std::make_unique<Move>(Move {std::move(*home.trash), {}, {}, {}, {}});
        const std::error_code error = moveInto(*move, entry, real);
        if (!error || error == Failure::StrandedInTrash)
            m_last = std::move(move);
        if (error != std::errc::cross_device_link)
            return error;
    } else if (!home.trash && deviceOfNearest(m_homeTrash) == entry.identity().device) {
        return home.error; // the home volume's trash is not usable: say why
    }
    Mount mount = currentMountOf(real);
    mount.point = volumeTopOf(real, mount.point, entry.identity().device);
    TrashResult volume = volumeTrashFolder(mount);
    if (!volume.trash)
        return volume.error ? volume.error : std::error_code(Failure::NoUsableTrash);
    if (volume.trash->device != entry.identity().device)
        return Failure::NoUsableTrash;
    // In a volume's own trash the path is recorded relative to the volume's top folder.
    const std::string &top = mount.point;
    const std::string relative = top == "/" ? real.substr(1) : real.substr(std::min(real.size(), top.size() + 1));
    auto move = std::make_unique<Move>(Move {std::move(*volume.trash), {}, {}, {}, {}});
    const std::error_code error = moveInto(*move, entry, relative);
    if (!error || error == Failure::StrandedInTrash)
        m_last = std::move(move);
    return error;
}

std::error_code FreedesktopTrash::putBack()
{
    if (!m_last)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::error_code error = m_last->putBack();
    if (!error)
        m_last.reset();
    return error;
}

std::string FreedesktopTrash::lastPlace() const
{
    return m_last ? m_last->place() : std::string();
}

ScopedPutBackFault::ScopedPutBackFault()
{
    putBackFault.store(true);
}

ScopedPutBackFault::~ScopedPutBackFault()
{
    putBackFault.store(false);
}

} // namespace kw::fs
