// Byte-for-byte comparison of the members of one size group.
#pragma once

#include "fs/file_access.h"
#include "search/size_grouping.h"
#include "search/state.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

namespace kw::search
{

// Partitions a size group into sets of files with equal contents by reading all members in
// step, block by block: a member that has become unique is not read further, so each byte
// of each file is read at most once in the usual case. No hash is trusted: a hash only
// narrows down which stored block a new block is compared with, byte for byte.
//
// Open files are bounded (a group may hold a hundred thousand members); a file closed to
// make room is opened again when its turn comes and must still be the same file. Memory
// for stored blocks is bounded too; past that bound a block is read again for comparing.
class ContentComparer
{
public:
    explicit ContentComparer(
        std::size_t maxOpenFiles = defaultMaxOpenFiles(), std::size_t storedBlockBudget = kDefaultStoredBlockBudget);
    ContentComparer(const ContentComparer &) = delete;
    ContentComparer &operator=(const ContentComparer &) = delete;
    ~ContentComparer();

    // The sets of two or more members whose whole contents, of equal real length, are
    // byte-for-byte equal: member indices ascending, sets ordered by their first member. A
    // member that cannot be opened or read, or whose size is no longer the inventory's, is
    // equal to no other. Sets `OuterIndex`/`InnerIndex` to the members last compared.
    std::vector<std::vector<std::size_t>> CompFile(std::span<const Candidate> group, SearchState &state);

    static std::size_t defaultMaxOpenFiles();

    // Bytes of distinct blocks kept while one block of a group is compared; past it a new
    // distinct block keeps only its hash and is read again should another block hash the same.
    static constexpr std::size_t kDefaultStoredBlockBudget = 64 * 1024 * 1024;

private:
    struct Member;
    struct Subset;
    using Indices = std::vector<std::uint32_t>;

    // A read buffer; kept in a pool, since allocating a megabyte per block read costs more
    // than reading it from the page cache.
    struct Buffer {
        std::unique_ptr<char[]> data;
        std::size_t capacity = 0;
    };

    void partition(const Indices &members, std::uint64_t offset, SearchState &state);
    bool ensureOpen(std::uint32_t index);
    void closeMember(std::uint32_t index);
    void evict(std::uint32_t index);
    void fail(std::uint32_t index);
    bool readBlock(std::uint32_t index, std::uint64_t offset, std::size_t length, bool last, Buffer &buffer);
    bool sameBlock(Subset &subset, const Buffer &block, std::size_t length, bool last, std::uint64_t offset);
    Buffer acquire(std::size_t size);
    void release(Buffer &&buffer);

    std::size_t m_maxOpen;
    std::size_t m_storedBlockBudget;
    std::uint64_t m_size = 0; // the group's size
    std::vector<Member> m_members;
    std::deque<std::pair<std::uint32_t, std::uint64_t>> m_openOrder; // member, open stamp
    std::size_t m_openCount = 0;
    std::uint64_t m_stamp = 0;
    std::vector<std::vector<std::uint32_t>> m_finished;
    std::vector<std::pair<Indices, std::uint64_t>> m_pending; // subsets still to be read on
    std::vector<Buffer> m_pool;
    Buffer m_reread;
    std::size_t m_storedBytes = 0;
};

} // namespace kw::search
