// Running a piece of a test as an unprivileged user: tests run as root, who reads everything,
// so "permission denied" on disk needs another user id.
#pragma once

#include <functional>
#include <string>

namespace kw::test
{

// Runs `body` in a child process with the user and group id of "nobody" when this process
// is root, else in a child as it is. Returns the child's exit status (body's result), or -1
// when the child could not be started or died.
int runAsOtherUser(const std::function<int()> &body);

// Whether a mode such as 000 actually stops this process from reading (false for root).
bool permissionsBindUs();

// Whether "nobody" may run the program at `path`: a build under a folder only root may
// enter (a home of root's) keeps it out, and a test that runs it so skips.
bool otherUserMayRun(const std::string &path);

} // namespace kw::test
