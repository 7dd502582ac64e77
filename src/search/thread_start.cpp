#include "search/thread_start.h"

#include <atomic>
#include <exception>

namespace kw::search
{
namespace
{

std::atomic<bool> faultActive {false};
std::atomic<unsigned> startsBeforeFault {0};

bool faultedStart()
{
    if (!faultActive.load())
        return false;
    unsigned left = startsBeforeFault.load();
    while (left > 0 && !startsBeforeFault.compare_exchange_weak(left, left - 1)) { }
    return left == 0;
}

} // namespace

std::optional<std::thread> tryStartThread(std::function<void()> body)
{
    if (faultedStart())
        return std::nullopt;
    try {
        return std::thread(std::move(body));
    } catch (const std::exception &) { // std::system_error (EAGAIN), or no memory for its state
        return std::nullopt;
    }
}

ScopedThreadStartFault::ScopedThreadStartFault(unsigned nth)
{
    startsBeforeFault.store(nth > 0 ? nth - 1 : 0);
    faultActive.store(true);
}

ScopedThreadStartFault::~ScopedThreadStartFault()
{
    faultActive.store(false);
}

} // namespace kw::search
