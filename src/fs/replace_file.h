// Writing a whole file so that the old one survives until the new one is complete.
#pragma once

#include "fs/handle.h"

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace kw::fs
{

// Writes `bytes` where `path` leads, as the shell's ">" would, but keeps an old list whole
// until the new one is:
// - A regular file we may write, with one name, is replaced by a new file written beside it
//   (private, mode 0600, while it is written), flushed to the disk and renamed over it, with
//   the old file's owner and mode: a full volume or a crash leaves the old file as it was.
// - A regular file with further hard links, one whose owner cannot be kept, or one in a
//   folder where no new file may be made, is overwritten in place: its blocks are reserved
//   first, so a full volume fails before anything is written, where the file system can
//   reserve (not FAT and some network shares, nor copy-on-write ones like btrfs).
// - A character device, FIFO or socket is written into; nothing is created beside it.
// - What we may not write is refused with the system's reason; a folder, a block device
//   and the like with Failure::NotARegularFile.
// Links are followed to the file they lead to, resolved name by name from folder handles;
// the link stays.
[[nodiscard]] std::error_code replaceFile(const std::string &path, std::string_view bytes);

// For tests: while one is in place, it is called with the descriptor of the new file after
// its contents are written and before it replaces the old one.
class ScopedReplaceWatch
{
public:
    explicit ScopedReplaceWatch(std::function<void(Handle fd)> watch);
    ScopedReplaceWatch(const ScopedReplaceWatch &) = delete;
    ScopedReplaceWatch &operator=(const ScopedReplaceWatch &) = delete;
    ~ScopedReplaceWatch();
};

} // namespace kw::fs
