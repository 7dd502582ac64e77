// Work that would freeze the windows, run beside them.
#pragma once

#include <functional>

namespace kw::ui
{

// Runs `work` on a thread of its own while the window thread goes on handling events
// (painting, a cancel button); returns when it has ended. Where no thread can be had, it
// runs here and the windows wait for it. `work` must not let an exception out.
void runOffTheWindowThread(const std::function<void()> &work);

} // namespace kw::ui
