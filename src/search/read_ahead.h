// Reading ahead of the comparison in the order of the disk: where the first blocks come from
// a disk rather than from memory, the comparison would ask for them in the order of the size
// groups, which sends a rotating or networked disk back and forth for every file.
#pragma once

#include "search/inventory.h"
#include "search/options.h"
#include "search/search_failure.h"
#include "search/size_grouping.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kw::search
{

// The readable files of the groups from `first` on, as many groups as `bytes` of first blocks
// fill (at least one), ordered by device and inode number: on the usual Linux file systems
// a file's data lies near its inode, and inodes are numbered along the disk.
struct ReadAheadWindow {
    std::vector<std::uint32_t> files; // inventory indices
    std::size_t end = 0; // the group after the last one taken
};
ReadAheadWindow readAheadWindow(
    const Inventory &inventory, const CandidateList &candidates, std::size_t first, std::uint64_t bytes);

// The first blocks asked for at once: a few thousand files, far more than the disk's queue
// holds, and little beside the page cache of a desktop.
inline constexpr std::uint64_t kReadAheadWindow = 64ULL << 20;

// A thread that asks the kernel for the first block of every candidate file, window by
// window in disk order, a little ahead of the group the comparison takes next. It only
// gives hints: what it asks for lands in the page cache, and the comparison reads (and
// checks) every byte itself, so a hint that fails or comes too late changes nothing but
// the time. The comparison's taking thread tells it where the comparison is; it stops when
// it goes. Where no thread can be had, nothing is read ahead; what fails on its thread ends
// it and is kept for the search to report.
class DiskOrderReadAhead
{
public:
    DiskOrderReadAhead(const Inventory &inventory, const CandidateList &candidates, std::uint64_t windowBytes,
        const std::atomic<bool> *cancel, const SearchHooks *hooks = nullptr);
    DiskOrderReadAhead(const DiskOrderReadAhead &) = delete;
    DiskOrderReadAhead &operator=(const DiskOrderReadAhead &) = delete;
    ~DiskOrderReadAhead();

    // Starts the thread from the group the comparison takes next; later calls do nothing.
    // Any thread may ask.
    void start();
    // The comparison takes group `group` next.
    void reached(std::size_t group);
    // How many files it has asked for so far.
    std::size_t filesAsked() const { return m_asked.load(std::memory_order_relaxed); }
    // The group its thread waits for the comparison to reach, while it waits.
    std::optional<std::size_t> waitingFor();
    // For tests: waits until its thread waits for a group the comparison has not reached,
    // or has ended, at most `limit`; whether it came to that.
    bool awaitIdle(std::chrono::milliseconds limit);
    // What ended its thread early; read after stop().
    const std::optional<SearchFailure> &failure() const { return m_failure; }
    // Ends the thread and waits for it; later calls do nothing.
    void stop();

private:
    void run(std::size_t group);
    bool waitForComparison(std::size_t group);
    void ask(std::uint32_t file, std::string &relative);

    const Inventory &m_inventory;
    const CandidateList &m_candidates;
    const std::uint64_t m_windowBytes;
    const std::atomic<bool> *m_cancel;
    const SearchHooks *m_hooks;
    std::atomic<bool> m_started {false};
    std::atomic<std::size_t> m_asked {0};
    std::mutex m_mutex;
    std::condition_variable m_moved;
    std::size_t m_reached = 0;
    std::optional<std::size_t> m_waitingFor; // the group the thread waits for, while it does
    bool m_ended = false; // its thread has ended
    std::condition_variable m_idle; // it waits, or has ended
    std::atomic<bool> m_stop {false}; // set under the mutex, read without it between files
    std::thread m_thread;
    std::optional<SearchFailure> m_failure; // written by the thread, read once it is joined
};

} // namespace kw::search
