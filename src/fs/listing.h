// The listing services: the subfolders of a folder and the files of a folder that match a
// filter. Hidden entries (names beginning with ".") are never listed, links are never
// followed, and nothing but folders and regular files is ever listed.
#pragma once

#include "fs/file_access.h"
#include "fs/mask.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kw::fs
{

// How a folder is opened: a folder the user named may be a link to a folder; one found
// inside a tree is entered only when it is a folder itself.
enum class FollowLink {
    Yes, // top folders: the user's own path text is honoured
    No, // subfolders: a link standing where a folder was is not entered
};

// The subfolders of one folder, and which folder that was.
struct SubfolderListing {
    std::error_code error; // the folder could not be entered; nothing else is set
    FileIdentity identity;
    bool pseudoFileSystem = false; // a kernel file system (proc, sysfs, …) mounted here
    std::vector<std::string> names; // sorted by collatesBefore
    std::vector<std::string> unlistable; // names with a line break: they cannot stand in a list
};

// Lists the subfolders of `folder`. The pseudo file system check costs a statfs and runs
// only when the folder lies on another device than `parentDevice`.
SubfolderListing listSubfolders(
    const std::string &folder, FollowLink follow, std::optional<dev_t> parentDevice = std::nullopt);

// Enters `folder` without listing it: whether it can be entered, and which folder it is.
struct FolderIdentityResult {
    std::error_code error;
    FileIdentity identity;
};
FolderIdentityResult identifyFolder(const std::string &folder, FollowLink follow);

// One file of a folder listing.
struct FileEntry {
    std::string name;
    std::uint64_t size = 0;
    bool readable = true; // false: the file cannot be opened for reading
};

// The files of one folder that match a mask, in the folder's own order.
struct FileListing {
    std::error_code error; // the folder could not be entered; nothing else is set
    std::vector<FileEntry> files;
    std::vector<std::string> unlistable; // matching names with a line break
};

// Lists the regular files of `folder` whose names match `mask`: one lstat-class call per
// matching name for type and size, and an open only where the permission bits say no.
FileListing listFiles(const std::string &folder, const FileMask &mask);

// Whether `name` can stand as a line of a list: no line break in it.
bool listableName(std::string_view name);

} // namespace kw::fs
