// Why a file was left out or left in place, where the system's own error numbers do not say
// it: these travel as std::error_code beside the errno values, so that every per-file
// failure keeps its reason up to the message that names it.
#pragma once

#include <system_error>

namespace kw::fs
{

enum class Failure {
    LineBreakInName = 1, // the name holds CR or LF: it cannot stand as a line of a list
    EndOfTextInName, // the name holds 0x1A, where a list being read back ends
    KernelFileSystem, // /proc, /sys and the like: their sizes and contents are not files
    ChangedDuringSearch, // size, time or identity differ from what the search saw
    NotARegularFile, // the path now names a folder, a link, a device …
    NotTheSearchedFile, // the path now names another file than the one the search compared
    TopFolderChanged, // the folder the user named is no longer the one that was searched
    NoKeptCopy, // no unmarked copy of the block is left to keep
    KeptCopyDiffers, // the copy that stays is no longer byte for byte equal
    SameEntryAsKeptCopy, // the copy that stays is this very file, reached by another path
    NoUsableTrash, // the volume has no trash folder we may use
    UnsafeTrash, // a trash folder is not ours or others may write in it
    ShortWrite, // a write ended early without the system naming a reason
    SameFileUnderOtherName, // the copy that stays went with this one: one file, two names
    StrandedInTrash, // moved by mistake and could not be put back: it lies in the trash
    CannotShareBlocks, // the file system cannot share blocks between files
    ContentsDiffer, // the kernel, comparing before it shares blocks, found a difference
    OtherVolume, // a hard link cannot reach another volume
};

const std::error_category &failureCategory();

inline std::error_code make_error_code(Failure failure)
{
    return {static_cast<int>(failure), failureCategory()};
}

} // namespace kw::fs

template<>
struct std::is_error_code_enum<kw::fs::Failure> : std::true_type {
};
