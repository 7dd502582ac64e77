// The handles of open files and folders, in the project's own terms: a descriptor on POSIX,
// a HANDLE on Windows. Only the platform layer below fs looks inside one.
#pragma once

#include <cstdint>
#include <system_error>

namespace kw::fs
{

#ifdef _WIN32
using NativeHandle = std::intptr_t; // a HANDLE's value; INVALID_HANDLE_VALUE is -1
#else
using NativeHandle = int; // a file descriptor
#endif

// A handle lent for a call: the one who opened it keeps it (OwnedHandle) and closes it. A
// type of its own, so that no integer passes for a handle by mistake.
class Handle
{
public:
    constexpr Handle() = default;
    constexpr explicit Handle(NativeHandle native) : m_native(native) { }

    constexpr NativeHandle native() const { return m_native; }
    constexpr bool valid() const { return m_native >= 0; }
    friend constexpr bool operator==(Handle, Handle) = default;

private:
    NativeHandle m_native = -1;
};

// A handle owned by one object, closed when it goes.
class OwnedHandle
{
public:
    OwnedHandle() = default;
    explicit OwnedHandle(NativeHandle native) : m_handle(native) { }
    OwnedHandle(OwnedHandle &&other) noexcept : m_handle(other.release()) { }
    OwnedHandle &operator=(OwnedHandle &&other) noexcept;
    OwnedHandle(const OwnedHandle &) = delete;
    OwnedHandle &operator=(const OwnedHandle &) = delete;
    ~OwnedHandle() { reset(); }

    Handle get() const { return m_handle; }
    bool valid() const { return m_handle.valid(); }
    Handle release();
    void reset();

private:
    Handle m_handle;
};

struct Opened {
    OwnedHandle fd;
    std::error_code error; // set when nothing could be opened
};

} // namespace kw::fs
