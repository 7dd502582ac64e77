#include "support/page_cache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kw::test
{

bool firstPageInMemory(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    void *map = ::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return false;
    unsigned char resident = 0;
    const bool known = ::mincore(map, 4096, &resident) == 0;
    ::munmap(map, 4096);
    return known && (resident & 1) != 0;
}

bool dropFromMemory(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return true;
}

} // namespace kw::test
