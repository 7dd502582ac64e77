#include "fs/open_faults.h"

namespace kw::fs
{
namespace
{

std::function<bool(std::string_view)> &openFault()
{
    static std::function<bool(std::string_view)> fault;
    return fault;
}

} // namespace

std::atomic<bool> &openat2Refused()
{
    static std::atomic<bool> refused {false};
    return refused;
}

ScopedOpenFault::ScopedOpenFault(std::function<bool(std::string_view path)> fault)
{
    openFault() = std::move(fault);
}

ScopedOpenFault::~ScopedOpenFault()
{
    openFault() = nullptr;
}

ScopedNameByNameOpening::ScopedNameByNameOpening() : m_before(openat2Refused().exchange(true)) { }

ScopedNameByNameOpening::~ScopedNameByNameOpening()
{
    openat2Refused().store(m_before);
}

bool openFaultActive()
{
    return static_cast<bool>(openFault());
}

bool openFaultFor(std::string_view path)
{
    const auto &fault = openFault();
    return fault && fault(path);
}

} // namespace kw::fs
