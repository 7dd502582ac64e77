#include "fs/handle.h"

#include <unistd.h>

namespace kw::fs
{

OwnedHandle &OwnedHandle::operator=(OwnedHandle &&other) noexcept
{
    if (this != &other) {
        reset();
        m_handle = other.release();
    }
    return *this;
}

Handle OwnedHandle::release()
{
    const Handle handle = m_handle;
    m_handle = Handle();
    return handle;
}

void OwnedHandle::reset()
{
    if (m_handle.valid())
        ::close(m_handle.native());
    m_handle = Handle();
}

} // namespace kw::fs
