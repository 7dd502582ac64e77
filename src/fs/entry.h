// A directory entry held by the handle of its folder: what is checked and then moved to
// the trash is the entry found, not whatever a path text leads to a moment later.
#pragma once

#include "fs/file_access.h"

#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

struct Entry {
    OwnedHandle folder; // the folder that holds it
    std::string name; // its name there
    std::string path; // the path text it was found by
    FileStatus status; // what the file system said of it, the name not followed
    FileIdentity folderIdentity;

    bool isRegularFile() const { return status.kind == FileKind::Regular; }
    FileIdentity identity() const { return status.identity; }
    // The same directory entry, whatever path led to it.
    bool sameEntryAs(const Entry &other) const { return folderIdentity == other.folderIdentity && name == other.name; }
};

struct EntryResult {
    Entry entry;
    std::error_code error;
};

// The entry `path` names (absolute), its folders reached as the path text says, links
// among them followed; the last name is not followed.
[[nodiscard]] EntryResult findEntry(const std::string &path);

// The entry `relative` names below the open folder `base`, without following any link.
// `path` is the whole path text, kept for messages and the trash's record.
[[nodiscard]] EntryResult findEntryBelow(Handle base, std::string_view relative, std::string path);

// Opens the entry's file for reading; it must still be the file the entry was found as.
[[nodiscard]] Opened openEntryForReading(const Entry &entry);

// Whether two open files hold the same bytes, read to their ends.
[[nodiscard]] std::error_code compareContents(Handle a, Handle b, bool &equal);

} // namespace kw::fs
