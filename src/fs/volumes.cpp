#include "fs/volumes.h"

#include "fs/path_text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sstream>

namespace kw::fs
{
namespace
{

// File systems that hold user files: disks, removable media, network shares.
bool holdsUserFiles(std::string_view type)
{
    static constexpr std::array<std::string_view, 22> kinds = {
        "ext2",
        "ext3",
        "ext4",
        "xfs",
        "btrfs",
        "f2fs",
        "jfs",
        "reiserfs",
        "zfs",
        "vfat",
        "exfat",
        "ntfs",
        "ntfs3",
        "msdos",
        "hfs",
        "hfsplus",
        "iso9660",
        "udf",
        "nfs",
        "nfs4",
        "cifs",
        "smb3",
    };
    if (std::find(kinds.begin(), kinds.end(), type) != kinds.end())
        return true;
    // fuseblk is a disk (ntfs-3g, exfat-fuse); fuse.sshfs and the like are shares.
    return type == "fuseblk" || (type.starts_with("fuse.") && type != "fuse.gvfsd-fuse" && type != "fuse.portal");
}

// Mount points of the system itself, which no user picks to search.
bool systemMountPoint(std::string_view point)
{
    static constexpr std::array<std::string_view, 10> prefixes = {
        "/boot",
        "/efi",
        "/snap",
        "/var",
        "/usr",
        "/proc",
        "/sys",
        "/dev",
        "/tmp",
        "/run",
    };
    if (point.starts_with("/run/media/"))
        return false;
    return std::any_of(prefixes.begin(), prefixes.end(), [&](std::string_view prefix) {
        return point == prefix || (point.starts_with(prefix) && point[prefix.size()] == '/');
    });
}

// Mount points in /proc/self/mounts write blanks, tabs, newlines and "\" as octal escapes.
std::string unescaped(std::string_view field)
{
    std::string result;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits(field.substr(i + 1, 3));
            if (digits.size() == 3
                && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                result.push_back(static_cast<char>(std::strtol(digits.c_str(), nullptr, 8)));
                i += 3;
                continue;
            }
        }
        result.push_back(field[i]);
    }
    return result;
}

std::string labelFor(const std::string &point, std::string_view home)
{
    if (point == "/")
        return "Dateisystem (/)";
    if (point == home)
        return "Persönlicher Ordner (" + point + ")";
    return std::string(baseName(point)) + " (" + point + ")";
}

} // namespace

std::vector<Volume> userVolumes(std::string_view mountsText, std::string_view homeText)
{
    const std::string home = homeText.empty() ? std::string() : folderForm(homeText);
    std::vector<Volume> volumes = {{"/", labelFor("/", home)}};
    if (!home.empty() && home != "/")
        volumes.push_back({home, labelFor(home, home)});

    std::istringstream lines {std::string(mountsText)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, point, type;
        if (!(fields >> device >> point >> type))
            continue;
        point = folderForm(unescaped(point));
        if (!holdsUserFiles(type) || systemMountPoint(point))
            continue;
        const bool known
            = std::any_of(volumes.begin(), volumes.end(), [&](const Volume &v) { return v.mountPoint == point; });
        if (!known)
            volumes.push_back({point, labelFor(point, home)});
    }
    return volumes;
}

namespace
{

bool contains(std::string_view folder, std::string_view path)
{
    return folder == "/" || path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

} // namespace

Mount mountOf(std::string_view path, std::string_view mountInfoText)
{
    Mount best;
    std::istringstream lines {std::string(mountInfoText)};
    std::string line;
    while (std::getline(lines, line)) {
        // id, parent id, major:minor, root, mount point, options, optional fields, "-", type, …
        std::istringstream fields(line);
        std::string id, parent, device, root, point;
        if (!(fields >> id >> parent >> device >> root >> point))
            continue;
        point = folderForm(unescaped(point));
        // The longest holds it; of two on one point the later, which hides the other.
        if (!contains(point, path) || point.size() < best.point.size())
            continue;
        std::string field, type;
        while (fields >> field && field != "-") { }
        fields >> type;
        best = {point, type};
    }
    return best;
}

std::string mountPointOf(std::string_view path, std::string_view mountInfoText)
{
    return mountOf(path, mountInfoText).point;
}

std::size_t volumeIndexOf(std::string_view folder, const std::vector<Volume> &volumes)
{
    std::size_t best = 0;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::string &point = volumes[i].mountPoint;
        const bool inside = point == "/" || folder == point
            || (folder.starts_with(point) && folder.size() > point.size() && folder[point.size()] == '/');
        if (inside && point.size() >= bestLength) {
            best = i;
            bestLength = point.size();
        }
    }
    return best;
}

} // namespace kw::fs
