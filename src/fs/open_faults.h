// Seams through which tests meet what a root-run test cannot meet on disk.
#pragma once

#include <atomic>
#include <functional>
#include <string_view>

namespace kw::fs
{

// A seam for tests, which run as root and so cannot meet "permission denied" on disk: while
// one is in place, opening a path for which it says true fails with EACCES. Tests set it
// before a search and take it away after; nothing else changes it.
class ScopedOpenFault
{
public:
    explicit ScopedOpenFault(std::function<bool(std::string_view path)> fault);
    ScopedOpenFault(const ScopedOpenFault &) = delete;
    ScopedOpenFault &operator=(const ScopedOpenFault &) = delete;
    ~ScopedOpenFault();
};
bool openFaultFor(std::string_view path);
bool openFaultActive();

// For tests: while one is in place, paths are opened name by name, as on a kernel without
// openat2.
class ScopedNameByNameOpening
{
public:
    ScopedNameByNameOpening();
    ScopedNameByNameOpening(const ScopedNameByNameOpening &) = delete;
    ScopedNameByNameOpening &operator=(const ScopedNameByNameOpening &) = delete;
    ~ScopedNameByNameOpening();

private:
    bool m_before;
};

// Whether paths are opened name by name: set once openat2 was refused (or by the seam above).
std::atomic<bool> &openat2Refused();

} // namespace kw::fs
