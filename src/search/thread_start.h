// Starting the helper threads of a search. A thread that cannot be had (a low process limit,
// a container's pids limit, no memory for its stack) is not an error: the work goes on with
// the threads it has, at least the calling one, and gives the same result.
#pragma once

#include <functional>
#include <optional>
#include <thread>

namespace kw::search
{

// The thread running `body`, or nothing where none could be started.
std::optional<std::thread> tryStartThread(std::function<void()> body);

// For tests: while one is in place, the `nth` thread started from then on (1 for the next)
// and every one after it cannot be started, as when the process limit is reached.
class ScopedThreadStartFault
{
public:
    explicit ScopedThreadStartFault(unsigned nth);
    ScopedThreadStartFault(const ScopedThreadStartFault &) = delete;
    ScopedThreadStartFault &operator=(const ScopedThreadStartFault &) = delete;
    ~ScopedThreadStartFault();
};

} // namespace kw::search
