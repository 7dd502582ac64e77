#include "search/disk_waits.h"

namespace kw::search
{

void DiskWaits::note(bool waited)
{
    if (waited)
        m_waited.fetch_add(1, std::memory_order_relaxed);
    if (m_reads.fetch_add(1, std::memory_order_relaxed) % kWindow != kWindow - 1)
        return;
    if (m_waited.exchange(0, std::memory_order_relaxed) * 4 > kWindow && m_moreThreads)
        m_moreThreads();
}

bool ListingClock::waited(std::size_t names) const
{
    using namespace std::chrono_literals;
    const auto taken = std::chrono::steady_clock::now() - m_start;
    return taken > 1ms && taken > (names + 1) * 100us;
}

} // namespace kw::search
