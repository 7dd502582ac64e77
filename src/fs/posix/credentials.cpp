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

bool Credentials::mayRead(std::uint32_t owner, std::uint32_t fileGroup, std::uint32_t permissions) const
{
    if (user == 0)
        return true;
    if (owner == user)
        return (permissions & S_IRUSR) != 0;
    if (fileGroup == group || std::find(groups.begin(), groups.end(), fileGroup) != groups.end())
        return (permissions & S_IRGRP) != 0;
    return (permissions & S_IROTH) != 0;
}

} // namespace kw::fs
