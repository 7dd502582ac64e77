// The drives of a Linux desktop: the mounted volumes a user would pick, as a file manager's
// side bar lists them: the root, the home folder, removable media and network shares, but no
// kernel or system mounts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kw::fs
{

struct Volume {
    std::string mountPoint; // folder form
    std::string label; // what the drive selector shows
    friend bool operator==(const Volume &, const Volume &) = default;
};

// The volumes from the text of /proc/self/mounts and the home folder, root first, then home,
// then the rest in mount order.
std::vector<Volume> userVolumes(std::string_view mountsText, std::string_view home);

// The same for this machine and user.
std::vector<Volume> currentUserVolumes();

// A mount as /proc/self/mountinfo tells it.
struct Mount {
    std::string point = "/"; // folder form
    std::string type; // "ext4", "vfat", "fuseblk", "fuse.bindfs" …; empty where unknown
};

// The mount that holds `path` (absolute, no links): the one with the longest mount point of
// the text of /proc/self/mountinfo that contains it; "/" when none does.
Mount mountOf(std::string_view path, std::string_view mountInfoText);
std::string mountPointOf(std::string_view path, std::string_view mountInfoText);

// The same for this process's mounts.
Mount currentMountOf(std::string_view path);

// The volume a folder lies on: the one with the longest mount point that contains it
// (the root at least); its index in `volumes`.
std::size_t volumeIndexOf(std::string_view folder, const std::vector<Volume> &volumes);

} // namespace kw::fs
