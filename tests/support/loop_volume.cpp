#include "support/loop_volume.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kw::test
{
namespace
{

namespace stdfs = std::filesystem;

bool toolThere(const char *tool)
{
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// What a command prints, its last line break taken off; empty when it failed.
std::string output(const std::string &command)
{
    std::string text;
    if (std::FILE *pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer {};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
            text += buffer.data();
        if (::pclose(pipe) != 0)
            text.clear();
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::string scratchFolder(const char *pattern)
{
    std::string folder = (stdfs::temp_directory_path() / pattern).string();
    return ::mkdtemp(folder.data()) != nullptr ? folder : std::string();
}

struct KindTools {
    const char *mkfs; // formats image.img
    const char *mount; // mounts image (or the loop device) on the root; "%s" is the source
    bool loopDevice;
};

KindTools toolsFor(LoopVolume::Kind kind)
{
    switch (kind) {
    case LoopVolume::Kind::Btrfs:
        return {"mkfs.btrfs", "mount -t btrfs", true};
    case LoopVolume::Kind::Xfs:
        return {"mkfs.xfs", "mount -t xfs", true};
    case LoopVolume::Kind::Ext4:
        return {"mkfs.ext4", "mount -t ext4", true};
    case LoopVolume::Kind::Ntfs:
        return {"mkfs.ntfs", "ntfs-3g", true};
    case LoopVolume::Kind::Exfat:
        return {"mkfs.exfat", "mount.exfat-fuse", true};
    case LoopVolume::Kind::Fat:
        return {"mkfs.vfat", "fusefat", false};
    }
    return {"false", "false", false};
}

} // namespace

LoopVolume::LoopVolume(Kind kind, const std::string &options)
{
    if (::geteuid() != 0) {
        m_skipReason = "mounting a volume needs root";
        return;
    }
    const KindTools tools = toolsFor(kind);
    const std::string mountTool(tools.mount);
    for (const std::string &tool : {std::string(tools.mkfs), mountTool.substr(0, mountTool.find(' '))}) {
        if (!toolThere(tool.c_str())) {
            m_skipReason = tool + " is not installed (scripts/install-deps.sh installs it)";
            return;
        }
    }
    const bool kernelDriver = kind == Kind::Btrfs || kind == Kind::Xfs || kind == Kind::Ext4;
    if (!kernelDriver && !stdfs::exists("/dev/fuse")) {
        m_skipReason = "no /dev/fuse: FUSE is not available here";
        return;
    }
    m_folder = scratchFolder("kw-loop-XXXXXX");
    if (m_folder.empty()) {
        m_skipReason = "no scratch folder";
        return;
    }
    ::chmod(m_folder.c_str(), 0755); // so that the user the mount is for reaches it
    const std::string image = m_folder + "/image.img";
    m_root = m_folder + "/mnt";
    stdfs::create_directory(m_root);
    // XFS wants 300 MiB at least; the image is sparse, so that costs what is written.
    const std::string size = kind == Kind::Xfs ? "320M" : kind == Kind::Btrfs ? "120M" : "16M";
    const std::string quiet = kind == Kind::Ntfs ? " -F -q -f"
        : kind == Kind::Btrfs                    ? " -q"
        : kind == Kind::Xfs                      ? " -q -m reflink=1"
        : kind == Kind::Ext4                     ? " -q -F"
                                                 : "";
    if (!run("truncate -s " + size + " " + image + " && " + tools.mkfs + quiet + " " + image, "formatting"))
        return;
    std::string source = image;
    if (tools.loopDevice) {
        m_device = output("losetup -f --show " + image + " 2>/dev/null");
        if (m_device.empty()) {
            m_skipReason = "no loop device could be set up";
            return;
        }
        source = m_device;
    }
    const std::string fatOptions = kind == Kind::Fat ? std::string("rw+") : std::string();
    const std::string all = options.empty() ? fatOptions : fatOptions.empty() ? options : fatOptions + "," + options;
    m_mounted = run(mountTool + (all.empty() ? "" : " -o " + all) + " " + source + " " + m_root, "mounting");
}

bool LoopVolume::run(const std::string &command, const std::string &what)
{
    if (std::system((command + " >/dev/null 2>&1").c_str()) == 0)
        return true;
    m_skipReason = what + " failed: " + command;
    return false;
}

LoopVolume::~LoopVolume()
{
    if (m_mounted)
        if (::umount2(m_root.c_str(), 0) != 0)
            ::umount2(m_root.c_str(), MNT_DETACH);
    // Detached once the FUSE driver lets go of it, if it still holds it now.
    if (!m_device.empty() && std::system(("losetup -d " + m_device + " >/dev/null 2>&1").c_str()) != 0)
        std::fprintf(stderr, "could not detach %s\n", m_device.c_str());
    if (!m_folder.empty()) {
        std::error_code ignored;
        stdfs::remove_all(m_folder, ignored);
    }
}

FuseView::FuseView(const std::string &source)
{
    if (::geteuid() != 0 || !toolThere("bindfs") || !stdfs::exists("/dev/fuse")) {
        m_skipReason = "a FUSE view needs root, /dev/fuse and bindfs";
        return;
    }
    m_root = scratchFolder("kw-view-XXXXXX");
    m_mounted = !m_root.empty() && std::system(("bindfs " + source + " " + m_root + " >/dev/null 2>&1").c_str()) == 0;
    if (!m_mounted)
        m_skipReason = "bindfs could not mount " + source;
}

FuseView::~FuseView()
{
    if (m_mounted)
        if (::umount2(m_root.c_str(), 0) != 0)
            ::umount2(m_root.c_str(), MNT_DETACH);
    if (!m_root.empty())
        ::rmdir(m_root.c_str());
}

} // namespace kw::test
