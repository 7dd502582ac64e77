#include "search/read_ahead.h"

#include "fs/file_access.h"
#include "search/content_compare.h"
#include "search/thread_start.h"

#include <algorithm>
#include <tuple>

namespace kw::search
{

ReadAheadWindow readAheadWindow(
    const Inventory &inventory, const CandidateList &candidates, std::size_t first, std::uint64_t bytes)
{
    ReadAheadWindow window;
    window.end = first;
    std::uint64_t filled = 0;
    while (window.end < candidates.groupCount() && (window.end == first || filled < bytes)) {
        const std::uint64_t block = std::min<std::uint64_t>(candidates.groupKey(window.end), kFirstBlockSize);
        for (const std::uint32_t file : candidates.group(window.end)) {
            if (!inventory.file(file).unreadable && block > 0) {
                window.files.push_back(file);
                filled += block;
            }
        }
        ++window.end;
    }
    std::sort(window.files.begin(), window.files.end(), [&inventory](std::uint32_t a, std::uint32_t b) {
        const fs::FileIdentity &x = inventory.file(a).stamp.identity;
        const fs::FileIdentity &y = inventory.file(b).stamp.identity;
        return std::tie(x.device, x.inode, a) < std::tie(y.device, y.inode, b);
    });
    return window;
}

DiskOrderReadAhead::DiskOrderReadAhead(const Inventory &inventory, const CandidateList &candidates,
    std::uint64_t windowBytes, const std::atomic<bool> *cancel, const SearchHooks *hooks)
    : m_inventory(inventory), m_candidates(candidates), m_windowBytes(windowBytes), m_cancel(cancel), m_hooks(hooks)
{
}

DiskOrderReadAhead::~DiskOrderReadAhead()
{
    stop();
}

void DiskOrderReadAhead::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_moved.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DiskOrderReadAhead::start()
{
    if (m_started.exchange(true))
        return;
    const std::lock_guard lock(m_mutex);
    if (m_stop)
        return;
    std::optional<std::thread> thread = tryStartThread([this, from = m_reached] {
        try {
            run(from);
        } catch (...) { // nothing may leave a thread; the search says what it was
            m_failure = SearchFailure::of(std::current_exception());
        }
        const std::lock_guard ending(m_mutex);
        m_ended = true;
        m_idle.notify_all();
    });
    if (thread)
        m_thread = std::move(*thread);
}

std::optional<std::size_t> DiskOrderReadAhead::waitingFor()
{
    const std::lock_guard lock(m_mutex);
    return m_waitingFor;
}

bool DiskOrderReadAhead::awaitIdle(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [this] { return m_ended || (m_waitingFor && m_reached < *m_waitingFor); });
}

void DiskOrderReadAhead::reached(std::size_t group)
{
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        m_reached = group;
        // Woken only when it may go on: the comparison moves on group by group.
        wake = m_waitingFor && group >= *m_waitingFor;
    }
    if (wake)
        m_moved.notify_all();
}

// Two windows at most are asked for ahead of the comparison: the page cache may hold what
// it likes, but what is read far ahead may be dropped again before it is used.
void DiskOrderReadAhead::run(std::size_t group)
{
    if (m_hooks != nullptr && m_hooks->readAheadStarted)
        m_hooks->readAheadStarted();
    std::string relative;
    std::size_t previous = group;
    while (group < m_candidates.groupCount() && waitForComparison(previous)) {
        const ReadAheadWindow window = readAheadWindow(m_inventory, m_candidates, group, m_windowBytes);
        for (const std::uint32_t file : window.files) {
            if (m_stop.load(std::memory_order_relaxed)
                || (m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed)))
                return;
            ask(file, relative);
        }
        previous = group;
        group = window.end;
    }
}

// Until the comparison has come to `group`; false when it is over.
bool DiskOrderReadAhead::waitForComparison(std::size_t group)
{
    std::unique_lock lock(m_mutex);
    m_waitingFor = group;
    m_idle.notify_all();
    m_moved.wait(lock, [&] { return m_stop || m_reached >= group; });
    m_waitingFor.reset();
    return !m_stop;
}

void DiskOrderReadAhead::ask(std::uint32_t file, std::string &relative)
{
    const auto [base, start] = m_inventory.opener(file);
    relative.assign(std::string_view(m_inventory.folderOf(file).path).substr(start)).append(m_inventory.nameOf(file));
    const fs::Opened opened = fs::openForReading(base, relative);
    if (opened.error)
        return; // the comparison meets the same failure and reports it
    fs::adviseWillNeed(opened.fd.get(), std::min<std::uint64_t>(m_inventory.file(file).stamp.size, kFirstBlockSize));
    m_asked.fetch_add(1, std::memory_order_relaxed);
}

} // namespace kw::search
