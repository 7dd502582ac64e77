// Byte-for-byte comparison of the members of one size group.
#pragma once

#include "fs/file_access.h"
#include "search/block_hash.h"
#include "search/disk_waits.h"
#include "search/options.h"
#include "search/search_failure.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::search
{

// The first block read of every file: most files that differ do so in their first few
// kilobytes, and copying more out of the page cache costs more than the system call it would
// save. Files still equal after it are likely duplicates and are read on in larger blocks.
inline constexpr std::size_t kFirstBlockSize = 16 * 1024;

// A file of a size group, and how to reach it again: below the handle of its top folder,
// and to read it, below the handle of its own folder where the search kept one. Its path is
// put together only where one is needed, which for most files is never.
struct CompareMember {
    fs::Handle base {}; // the top folder's handle
    std::string_view folder; // the folder's path, entry form
    std::size_t relativeStart = 0; // where the part below the top folder starts in `folder`
    std::string_view name;
    fs::FileStamp stamp; // as the inventory saw it
    bool unreadable = false; // the inventory could not read it: equal to no other file
    fs::Handle openBase {}; // the handle to open it from; none: the top folder's
    std::size_t openStart = 0; // where the part below `openBase` starts in `folder`

    std::string path() const;
    // The path below the top folder, written into `buffer`.
    std::string_view relative(std::string &buffer) const;
    // The path below `openBase` (or the top folder), written into `buffer`.
    std::string_view openRelative(std::string &buffer) const;
    fs::Handle opener() const { return openBase.valid() ? openBase : base; }
};

// A member left out of the comparison, and why.
struct MemberFailure {
    std::size_t member = 0;
    std::error_code reason;
};

struct GroupComparison {
    // The sets of two or more members with equal contents: member indices ascending, sets
    // ordered by their first member.
    std::vector<std::vector<std::size_t>> sets;
    std::vector<MemberFailure> failures; // in member order
    std::size_t outer = 0; // the two members compared last, for the report of a failure
    std::size_t inner = 0;
    bool failed = false; // something unexpected (memory) stopped the comparison of the group
    SearchFailure failure; // what it was, when failed
};

// Partitions a size group into sets of files with equal contents by reading all members in
// step, block by block: a member that has become unique is not read further, so each byte
// of each file is read at most once in the usual case. No hash is trusted: a hash only
// narrows down which stored block a new block is compared with, byte for byte.
//
// Nothing read is trusted past the last block either: every member of a set is checked once
// more, its handle (still the size and times the inventory saw) and its path (still naming
// that regular file). A member that was changed, replaced or moved while it was read is
// equal to nothing and is reported.
//
// Open files are bounded (a group may hold a hundred thousand members); a file closed to
// make room is opened again when its turn comes and must still be the same file. Memory
// for stored blocks is bounded too; past that bound a block is read again for comparing.
// One comparer serves one thread.
//
// A limit of the whole search shared by the comparers that run: what one does not use,
// another may, and a comparer added later takes from what is left, instead of each getting
// a share of the most threads there might ever be.
class SharedLimit
{
public:
    explicit SharedLimit(std::size_t total) : m_left(total) { }
    // Takes `amount` when that much is left.
    bool take(std::size_t amount);
    void give(std::size_t amount) { m_left.fetch_add(amount, std::memory_order_relaxed); }

private:
    std::atomic<std::size_t> m_left;
};

class ContentComparer
{
public:
    // Every comparer may keep two files open whatever the others hold, so that it can go on;
    // files beyond those and stored blocks come from `openFiles` and `storedBytes`.
    static constexpr std::size_t kOwnOpenFiles = 2;

    ContentComparer(SharedLimit &openFiles, SharedLimit &storedBytes, const BlockHash &hash,
        const SearchHooks *hooks = nullptr, const std::atomic<bool> *cancel = nullptr, DiskWaits *diskWaits = nullptr);
    // One comparer alone with limits of its own.
    ContentComparer(std::size_t maxOpenFiles, std::size_t storedBlockBudget, const BlockHash &hash,
        const SearchHooks *hooks = nullptr, const std::atomic<bool> *cancel = nullptr, DiskWaits *diskWaits = nullptr);
    ContentComparer(const ContentComparer &) = delete;
    ContentComparer &operator=(const ContentComparer &) = delete;
    ~ContentComparer();

    // `size` is the group's size key: the length every readable member must have.
    GroupComparison CompFile(std::span<const CompareMember> group, std::uint64_t size);

    // How often a block was compared byte for byte with another that its hash matched.
    std::uint64_t blockComparisons() const { return m_blockComparisons; }
    // How often a block was read again to be compared, as there was no room to keep it.
    std::uint64_t blocksReadAgain() const { return m_blocksReadAgain; }

private:
    struct Member;
    struct Subset;
    using Indices = std::vector<std::uint32_t>;

    // A read buffer, one block long.
    struct Buffer {
        std::unique_ptr<char[]> data;
        std::size_t capacity = 0;
    };

    void partition(const Indices &members, std::uint64_t offset);
    void finish(Indices members);
    bool stillTheFileCompared(std::uint32_t index);
    bool ensureOpen(std::uint32_t index);
    void closeMember(std::uint32_t index);
    void fail(std::uint32_t index, std::error_code reason);
    bool readBlock(std::uint32_t index, std::uint64_t offset, std::size_t length, bool last, Buffer &buffer);
    std::ptrdiff_t readFirstBlock(fs::Handle fd, char *data, std::size_t wanted, std::size_t length);
    bool sameBlock(Subset &subset, const Buffer &block, std::size_t length, bool last, std::uint64_t offset);
    Buffer acquire(std::size_t size);

    std::unique_ptr<SharedLimit> m_ownOpen; // the limits, where this comparer has its own
    std::unique_ptr<SharedLimit> m_ownStored;
    SharedLimit &m_openFiles;
    SharedLimit &m_storedLimit;
    std::size_t m_openTaken = 0; // open files beyond kOwnOpenFiles, taken from m_openFiles
    const BlockHash &m_hash;
    const SearchHooks *m_hooks;
    const std::atomic<bool> *m_cancel;
    DiskWaits *m_diskWaits;
    std::uint64_t m_blocksReadAgain = 0;
    bool m_cachedReads = true; // the file system can tell what is in memory
    std::uint64_t m_size = 0; // the group's size
    std::vector<Member> m_members;
    std::deque<std::pair<std::uint32_t, std::uint64_t>> m_openOrder; // member, open stamp
    std::size_t m_openCount = 0;
    std::uint64_t m_stamp = 0;
    GroupComparison m_result;
    std::vector<std::vector<std::uint32_t>> m_finished;
    std::vector<std::pair<Indices, std::uint64_t>> m_pending; // subsets still to be read on
    Buffer m_reread;
    std::string m_relative; // where relative paths are put together
    std::size_t m_storedBytes = 0;
    std::uint64_t m_blockComparisons = 0;
};

} // namespace kw::search
