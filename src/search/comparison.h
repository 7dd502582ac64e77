// The last phase: the contents of every size group compared, the result list written.
#pragma once

#include "search/inventory.h"
#include "search/observer.h"
#include "search/options.h"
#include "search/read_ahead.h"
#include "search/result_list.h"
#include "search/size_grouping.h"
#include "search/state.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kw::search
{

struct ComparisonResult {
    ResultList lines;
    // For the window width: the last member of every size group that listed a path. The
    // front end measures them in its label font (`Tweite`).
    std::vector<std::string> widthProbes;
    std::vector<std::uint64_t> blockSizes; // the size of each block's files, block by block
    // What moving every copy but one of each block would free: hard links to the copy that
    // stays free nothing.
    std::uint64_t reclaimableBytes = 0;
    std::size_t blockCount = 0;
    // Which inventory file each path line is (separators hold none), for the records.
    std::vector<std::uint32_t> lineFiles;
    // The first thing that failed as it should not: a group that could not be compared, or
    // the read-ahead's thread. The list holds every group that was compared.
    std::optional<SearchFailure> failure;
    unsigned threads = 1; // that compared at the end, the calling one included
};

// Takes the blocks of a search in order as they are found: the paths and their size.
using BlockSink = std::function<void(const std::vector<std::string> &block, std::uint64_t size)>;

// How the comparison may use the machine.
struct ComparisonSettings {
    unsigned threads = 1;
    unsigned maxThreads = 1; // while the comparison mostly waits for the disk
    std::size_t maxOpenFiles = 256; // over all threads
    std::size_t storedBlockBudget = kDefaultStoredBlockBudget; // over all threads
    bool oneLink = false; // keep one path of each file (device and inode) in a block
    ReadAhead readAhead = ReadAhead::WhenWaiting;
    BlockSink blockSink; // when set, blocks go there as they are found instead of into the list
    const SearchHooks *hooks = nullptr;
    const std::atomic<bool> *cancel = nullptr;
};

// Walks the candidate list group by group and writes the blocks of identical files: groups in
// candidate order, within a group the blocks in the order of their first members, within a
// block the members in candidate order, which is the list the pairwise visiting order of
// every member with every other yields. Reports "k von N Dateien" per candidate line and
// sets `FoundCount`, `ComparedCount` and `SearchIndex`. Groups are compared on several
// threads at once; their blocks and reports come out in group order all the same. A
// member that cannot be read, or changed while it was, is reported and counted. A failure
// while one group is compared is reported with its position, kept with its reason in the
// result, and the walk goes on.
ComparisonResult Tcomp(const Inventory &inventory, const CandidateList &candidates, SearchState &state,
    SearchObserver &observer, const ComparisonSettings &settings);

} // namespace kw::search
