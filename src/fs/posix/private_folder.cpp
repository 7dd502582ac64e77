#include "fs/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kw::fs
{
namespace
{

// The real user, not the effective one: a program started through sudo keeps the lock and
// socket of who started it.
bool ownFolder(const std::string &path, struct stat &status)
{
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::getuid();
}

} // namespace

std::string currentUserKey()
{
    return std::to_string(::getuid());
}

bool isPrivateFolder(const std::string &path)
{
    struct stat status = {};
    return ownFolder(path, status) && (status.st_mode & 077) == 0;
}

bool makePrivateFolder(const std::string &path)
{
    ::mkdir(path.c_str(), 0700);
    return isPrivateFolder(path);
}

bool restrictToOwner(const std::string &path)
{
    struct stat status = {};
    if (ownFolder(path, status) && (status.st_mode & 077) != 0)
        ::chmod(path.c_str(), 0700);
    return isPrivateFolder(path);
}

} // namespace kw::fs
