// A small volume of its own for one test: a tmpfs mounted on a fresh folder, unmounted when
// the test ends. Mounting needs root; without it the test is skipped with the reason.
#pragma once

#include <string>

namespace kw::test
{

class ScratchVolume
{
public:
    explicit ScratchVolume(const std::string &size = "4m");
    ScratchVolume(const ScratchVolume &) = delete;
    ScratchVolume &operator=(const ScratchVolume &) = delete;
    ~ScratchVolume();

    bool mounted() const { return m_mounted; }
    const std::string &root() const { return m_root; }
    std::string path(const std::string &relative) const { return m_root + "/" + relative; }
    // Fills what is left of the volume, so that the next write fails with ENOSPC.
    void fill() const;

private:
    std::string m_root;
    bool m_mounted = false;
};

} // namespace kw::test
