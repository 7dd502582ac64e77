#include "fs/credentials.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace kw::fs
{

Credentials Credentials::ofThisProcess()
{
    Credentials credentials;
    credentials.user = ::geteuid();
    credentials.group = ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        credentials.groups.resize(static_cast<std::size_t>(count));
        if (::getgroups(count, credentials.groups.data()) < 0)
            credentials.groups.clear();
    }
    return credentials;
}

bool Credentials::mayRead(const struct stat &status) const
{
    if (user == 0)
        return true;
    if (status.st_uid == user)
        return (status.st_mode & S_IRUSR) != 0;
    if (status.st_gid == group || std::find(groups.begin(), groups.end(), status.st_gid) != groups.end())
        return (status.st_mode & S_IRGRP) != 0;
    return (status.st_mode & S_IROTH) != 0;
}

} // namespace kw::fs
