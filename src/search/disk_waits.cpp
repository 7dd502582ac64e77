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

} // namespace kw::search
