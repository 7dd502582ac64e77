// Real volumes of the kinds users keep their files on, made for one test: an image file
// formatted and mounted through a loop device or FUSE, unmounted and removed when the test
// ends. Needs root, loop devices or FUSE, and the formatting tools; without them the volume
// is not mounted and skipReason() says why.
#pragma once

#include <string>

namespace kw::test
{

class LoopVolume
{
public:
    enum class Kind {
        Btrfs, // kernel driver, subvolumes, shared blocks
        Xfs, // kernel driver, made with shared blocks (reflink)
        Ext4, // kernel driver, no shared blocks
        Ntfs, // ntfs-3g on a loop device (FUSE, shown as fuseblk)
        Exfat, // exfat-fuse on a loop device (fuseblk)
        Fat, // fusefat on the image: case-insensitive, a name's case variants get other inodes
    };

    // `options`: the mount's -o options, e.g. "umask=000,uid=65534,gid=65534".
    explicit LoopVolume(Kind kind, const std::string &options = {});
    LoopVolume(const LoopVolume &) = delete;
    LoopVolume &operator=(const LoopVolume &) = delete;
    ~LoopVolume();

    bool mounted() const { return m_mounted; }
    const std::string &skipReason() const { return m_skipReason; }
    const std::string &root() const { return m_root; }
    std::string path(const std::string &relative) const { return m_root + "/" + relative; }

private:
    bool run(const std::string &command, const std::string &what);

    std::string m_folder; // holds the image and the mount point
    std::string m_root;
    std::string m_device; // the loop device, where one is used
    bool m_mounted = false;
    std::string m_skipReason;
};

// A FUSE view (bindfs) of a folder: the same files under a second path, with other device
// numbers than the folder's own.
class FuseView
{
public:
    explicit FuseView(const std::string &source);
    FuseView(const FuseView &) = delete;
    FuseView &operator=(const FuseView &) = delete;
    ~FuseView();

    bool mounted() const { return m_mounted; }
    const std::string &skipReason() const { return m_skipReason; }
    const std::string &root() const { return m_root; }

private:
    std::string m_root;
    bool m_mounted = false;
    std::string m_skipReason;
};

} // namespace kw::test
