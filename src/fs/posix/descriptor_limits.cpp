#include "fs/descriptor_limits.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace kw::fs
{

std::size_t openFileAllowance()
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 256;
    return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur) / 4, 8, 512);
}

namespace
{

// The soft limit the program was started with, once it has been raised.
std::atomic<rlim_t> ordinaryLimit {RLIM_INFINITY};

// The kernel grows a process's table of descriptors by doubling it, and once the process
// has a second thread each growth waits for every processor to pass a quiescent point,
// which took longer than listing the folders of a large tree. Grown to this size while
// the program has one thread, the table costs half a megabyte and no such wait.
constexpr rlim_t kReservedDescriptors = 65536;

void reserveDescriptorTable(int size)
{
    // The lowest free number from there on: a descriptor the program inherited there stays.
    if (size <= 3)
        return;
    const int reserved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, size - 1);
    if (reserved >= 0)
        ::close(reserved);
}

} // namespace

std::size_t folderHandleAllowance()
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    // A limit that large is no limit; the kernel's table of open files sets the bound then.
    const rlim_t most = limit.rlim_cur == RLIM_INFINITY ? rlim_t {1} << 20 : limit.rlim_cur;
    const std::size_t kept = openFileAllowance() + 128;
    return most > kept ? static_cast<std::size_t>(most) - kept : 0;
}

void raiseOpenFileLimit()
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    if (limit.rlim_cur >= limit.rlim_max) {
        reserveDescriptorTable(static_cast<int>(std::min<rlim_t>(limit.rlim_cur, kReservedDescriptors)));
        return;
    }
    const rlim_t before = limit.rlim_cur;
    // A million handles is more than any search keeps; some systems set the hard limit to
    // infinity, and every process would carry the larger table for nothing.
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, rlim_t {1} << 20);
    if (::setrlimit(RLIMIT_NOFILE, &limit) == 0)
        ordinaryLimit.store(before);
    reserveDescriptorTable(static_cast<int>(std::min<rlim_t>(limit.rlim_cur, kReservedDescriptors)));
}

ScopedOrdinaryFileLimit::ScopedOrdinaryFileLimit()
{
    const rlim_t ordinary = ordinaryLimit.load();
    rlimit limit = {};
    if (ordinary == RLIM_INFINITY || ::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    m_raised = limit.rlim_cur;
    limit.rlim_cur = ordinary;
    m_lowered = ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

ScopedOrdinaryFileLimit::~ScopedOrdinaryFileLimit()
{
    rlimit limit = {};
    if (!m_lowered || ::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    limit.rlim_cur = m_raised;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace kw::fs
