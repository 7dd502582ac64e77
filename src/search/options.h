// How a search runs, apart from what it looks for: threads, limits, cancelling, and the
// seams through which tests change the file system at an exact moment of a search.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kw::search
{

struct SearchHooks {
    std::function<void()> afterFolders; // the folders are collected, the files not yet listed
    std::function<void(const std::string &path)> afterLastBlock; // a file's last block was read
    std::function<void()> readAheadStarted; // first thing on the read-ahead's thread
};

// When the comparison's first blocks are asked of the disk ahead of it, in the disk's order.
enum class ReadAhead {
    WhenWaiting, // once the comparison is seen to wait for the disk
    Always, // from the start
    Never, // not at all: the comparison reads in its own order
};

struct EngineOptions {
    // 0: one per core, and more while the threads mostly wait for the disk; else exactly so many.
    unsigned threads = 0;
    std::size_t maxOpenFiles = 0; // files open at once while comparing; 0: from the descriptor limit
    std::size_t storedBlockBudget = 0; // bytes of blocks kept while comparing; 0: the default
    // Folder handles kept to open files from; unset: what the descriptor limit leaves.
    std::optional<std::size_t> folderHandles;
    ReadAhead readAhead = ReadAhead::WhenWaiting;
    bool keepRecords = false; // note of every listed file what trashing it checks first
    // When set, each block is handed over as soon as it is found, in list order, and the
    // outcome's list stays empty: a long list need not be held.
    std::function<void(const std::vector<std::string> &block, std::uint64_t size)> blockSink;
    const std::atomic<bool> *cancel = nullptr; // set from any thread to stop the search soon
    const SearchHooks *hooks = nullptr;

    unsigned threadCount() const;
    unsigned maxThreadCount() const;
};

// The bytes of stored blocks a search keeps at most, over all its threads.
inline constexpr std::size_t kDefaultStoredBlockBudget = 8 * 1024 * 1024;

// Thrown inside the engine when the cancel flag is seen; runSearch catches it.
struct SearchCancelled {
};

inline void checkCancel(const std::atomic<bool> *cancel)
{
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
        throw SearchCancelled {};
}

} // namespace kw::search
