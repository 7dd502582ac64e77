// Plain questions about a path, for the front ends and the shell, in the project's own
// terms: what kind of entry it names, whether it can be read, whether a stream is a
// terminal.
#pragma once

#include "fs/file_stamp.h"

#include <optional>
#include <string>
#include <system_error>

namespace kw::fs
{

enum class EntryKind { Missing, Folder, RegularFile, SymbolicLink, Other };

struct PathKind {
    EntryKind kind = EntryKind::Missing;
    std::error_code error; // why it could not be told (ENOENT: missing)
};

// What `path` names, links in it followed (`followLast` also the last one) or not.
PathKind kindOf(const std::string &path, bool followLast);

// Where `path` really leads, every link in it resolved, or nothing where it leads nowhere.
std::optional<std::string> resolvedPath(const std::string &path);

// Whether the file at `path` may be read by this process.
bool readable(const std::string &path);

// Whether standard error goes to a terminal.
bool standardErrorIsTerminal();

// What a result window shows of a regular file: its stamp and its folder's identity (which
// tells one directory entry from another reached by another path text).
struct RegularFileFacts {
    FileStamp stamp;
    std::optional<FileIdentity> folder;
};
std::optional<RegularFileFacts> regularFileFacts(const std::string &path, const std::string &folderPath);

} // namespace kw::fs
