// Telling a search that mostly waits for the disk: a thread that waits uses no processor,
// and a disk given more to do at once does it sooner, so then more threads are worth it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace kw::search
{

// Counts, over all threads of one phase, how many reads had to wait for the disk, and asks
// for more threads while many do: more than a quarter of a window of reads.
class DiskWaits
{
public:
    explicit DiskWaits(std::function<void()> moreThreads) : m_moreThreads(std::move(moreThreads)) { }
    void note(bool waited);

private:
    static constexpr std::uint64_t kWindow = 64;
    std::function<void()> m_moreThreads;
    std::atomic<std::uint64_t> m_reads {0};
    std::atomic<std::uint64_t> m_waited {0};
};

} // namespace kw::search
