#include "support/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace kw::test
{

int runAsOtherUser(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0) {
            constexpr gid_t nobodyGroup = 65534;
            constexpr uid_t nobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobodyGroup) != 0 || ::setuid(nobody) != 0)
                std::_Exit(125);
        }
        std::_Exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool otherUserMayRun(const std::string &path)
{
    return runAsOtherUser([&path] { return ::access(path.c_str(), X_OK) == 0 ? 0 : 1; }) == 0;
}

bool permissionsBindUs()
{
    return ::geteuid() != 0;
}

} // namespace kw::test
