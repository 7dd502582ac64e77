// Replacing a duplicate by what it duplicates: blocks shared with the kept file (the kernel
// compares and shares them; both paths stay files of their own, copied on a later write), or
// a hard link (both paths become one file).
#pragma once

#include "fs/entry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kw::fs
{

// Asks the kernel to share `kept`'s blocks with `duplicate` over their first `length` bytes
// (both open, the duplicate for reading is enough for its owner). The kernel locks both,
// compares every byte and shares only what is equal; it takes a limited range a call, so
// this goes on chunk by chunk. Failure::ContentsDiffer where the kernel found a difference
// (that range is left as it was), Failure::CannotShareBlocks where the file system cannot
// share blocks (ext4, tmpfs, FUSE …) or the two lie on different ones.
[[nodiscard]] std::error_code shareBlocks(Handle kept, Handle duplicate, std::uint64_t length);

// Whether the file system holding `path` can share blocks between files at all (Btrfs,
// XFS, bcachefs, OCFS2); XFS made without reflink says so only when asked to share.
bool mayShareBlocks(const std::string &path);

// One extent of a file: where its bytes lie on the volume, and whether others share it.
struct Extent {
    std::uint64_t logical = 0;
    std::uint64_t physical = 0;
    std::uint64_t length = 0;
    bool shared = false;
    friend bool operator==(const Extent &, const Extent &) = default;
};
// The extents of an open file, as the file system maps them (written out first), or
// nothing where it cannot say (FIEMAP refused).
std::optional<std::vector<Extent>> extentsOf(Handle fd);

// Replaces the entry `duplicate` by a hard link to the file of `kept`: the link is made
// under a new name in the duplicate's folder, checked to be the kept file, then renamed over
// the duplicate, so that the duplicate's path never goes missing. The duplicate must still
// be the file it was found as just before the rename. On any failure the new name is
// removed again and the duplicate stays as it was. Two names of one file are refused with
// Failure::SameFileUnderOtherName and nothing is left behind; another volume with
// Failure::OtherVolume.
[[nodiscard]] std::error_code replaceByHardLink(const Entry &kept, const Entry &duplicate);

// For tests: while one is in place, the step it names fails with EIO (the link, the check
// of what was linked, the rename over the duplicate).
enum class LinkStep { Link, Check, Rename };
class ScopedLinkStepFault
{
public:
    explicit ScopedLinkStepFault(LinkStep step);
    ScopedLinkStepFault(const ScopedLinkStepFault &) = delete;
    ScopedLinkStepFault &operator=(const ScopedLinkStepFault &) = delete;
    ~ScopedLinkStepFault();
};

} // namespace kw::fs
