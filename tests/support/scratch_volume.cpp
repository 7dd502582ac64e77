#include "support/scratch_volume.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace kw::test
{

ScratchVolume::ScratchVolume(const std::string &size)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kw-volume-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return;
    m_root = pattern;
    const std::string options = "size=" + size + ",mode=0755";
    m_mounted = ::mount("tmpfs", m_root.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

ScratchVolume::~ScratchVolume()
{
    if (m_mounted)
        ::umount2(m_root.c_str(), MNT_DETACH);
    if (!m_root.empty())
        ::rmdir(m_root.c_str());
}

void ScratchVolume::fill() const
{
    const int fd = ::open(path("fuellung").c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0)
        return;
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) { }
    // the last partial page too
    while (::write(fd, "f", 1) > 0) { }
    ::close(fd);
}

} // namespace kw::test
