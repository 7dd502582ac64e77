#pragma once

#include <atomic>
#include <cstddef>

namespace kw::fs
{

// A count of handles still to be given out, shared by the threads that take them.
class HandleBudget
{
public:
    explicit HandleBudget(std::size_t handles) : m_left(static_cast<std::ptrdiff_t>(handles)) { }
    bool take() { return m_left.fetch_sub(1, std::memory_order_relaxed) > 0; }

private:
    std::atomic<std::ptrdiff_t> m_left;
};

} // namespace kw::fs
