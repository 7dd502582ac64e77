// The listing service: the subfolders of an open folder and its files that match a filter,
// in one pass over its entries. Hidden entries (names beginning with ".") are never listed,
// links are never followed, and nothing but folders and regular files is ever listed.
#pragma once

#include "fs/credentials.h"
#include "fs/file_access.h"
#include "fs/file_stamp.h"
#include "fs/mask.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::fs
{

// A regular file of a listing. Its name lies in the listing's name arena.
struct ListedFile {
    std::uint32_t nameOffset = 0;
    std::uint16_t nameLength = 0;
    bool unreadable = false; // could not be examined or opened; the reason is kept beside
    FileStamp stamp; // as fstatat saw it; zero where that failed
};

// A name that is left out, with the reason.
struct SkippedName {
    std::string name;
    std::error_code reason;
};

struct UnreadableReason {
    std::uint32_t file = 0; // index into `files`
    std::error_code reason;
};

struct FolderListing {
    std::error_code error; // the folder could not be read (through): its entries are incomplete
    FileIdentity identity; // of the folder listed
    bool kernelFileSystem = false; // proc, sysfs, …: nothing is listed
    std::vector<std::string> subfolders; // sorted by collatesBefore
    std::vector<SkippedName> unlistableFolders; // names that cannot stand in a list
    std::string names; // the file names, one after the other
    std::vector<ListedFile> files; // in the folder's own order
    std::vector<UnreadableReason> unreadable; // why each unreadable file is so, in file order
    std::vector<SkippedName> unlistableFiles;
    OwnedHandle handle; // the folder's, where the caller keeps it to open the files from
    std::size_t entries = 0; // names read, matching or not

    std::string_view nameOf(const ListedFile &file) const { return {names.data() + file.nameOffset, file.nameLength}; }
};

// What a listing found of the files alone, kept while the folder's files wait for the
// inventory: the listing's spare room is given back.
struct FolderFiles {
    std::string names;
    std::vector<ListedFile> files;
    std::vector<UnreadableReason> unreadable;
    std::vector<SkippedName> unlistableFiles;
    OwnedHandle handle;

    std::string_view nameOf(const ListedFile &file) const { return {names.data() + file.nameOffset, file.nameLength}; }
};
FolderFiles takeFiles(FolderListing &&listing);

struct SizeLimits {
    std::uint64_t minimum = 0;
    std::uint64_t maximum = std::numeric_limits<std::uint64_t>::max();
    bool allows(std::uint64_t size) const { return size >= minimum && size <= maximum; }
};

struct ListingOptions {
    bool subfolders = false; // list the subfolders
    const FileMask *mask = nullptr; // list the files that match; none without a mask
    const FileMask *excluded = nullptr; // names neither listed nor entered
    SizeLimits sizes;
    const Credentials *credentials = nullptr; // required when files are listed
    // The kernel file system check costs a statfs; it runs for a folder the user named and
    // wherever a folder lies on another device than the one it was found in.
    std::optional<std::uint64_t> parentDevice;
    std::string_view folderPath; // the folder's path text, for the open fault seam
    const std::atomic<bool> *cancel = nullptr; // checked between entries
};

// Lists the open folder `fd` (read from its current position, which it leaves at the end).
FolderListing listFolder(Handle fd, const ListingOptions &options);

// Whether the open folder lies on a kernel file system that holds no user files.
bool onKernelFileSystem(Handle fd);

// Why `name` cannot stand as a line of a list (a line break, or 0x1A where reading a list
// back stops), or no error.
std::error_code unlistableReason(std::string_view name);

// For tests: while one is in place, the listing is told no entry's kind (DT_UNKNOWN, as on
// some file systems), and examining a name for which it says true fails with EIO.
class ScopedEntryStatusFault
{
public:
    explicit ScopedEntryStatusFault(std::function<bool(std::string_view name)> fault);
    ScopedEntryStatusFault(const ScopedEntryStatusFault &) = delete;
    ScopedEntryStatusFault &operator=(const ScopedEntryStatusFault &) = delete;
    ~ScopedEntryStatusFault();
};

} // namespace kw::fs
