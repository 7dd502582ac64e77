// Running a piece of a test as an unprivileged user: tests run as root, who reads everything,
// so "permission denied" on disk needs another user id.
#pragma once

#include <functional>

namespace kw::test
{

// Runs `body` in a child process with the user and group id of "nobody" when this process
// is root, else in a child as it is. Returns the child's exit status (body's result), or -1
// when the child could not be started or died.
int runAsOtherUser(const std::function<int()> &body);

// Whether a mode such as 000 actually stops this process from reading (false for root).
bool permissionsBindUs();

} // namespace kw::test
