// A descriptor owned by one object, and what an attempt to open one gives.
#pragma once

#include <system_error>

namespace kw::fs
{

// An owned file descriptor, closed when it goes.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) { }
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) { }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    void reset();

private:
    int m_fd = -1;
};

struct Opened {
    FileDescriptor fd;
    std::error_code error; // set when nothing could be opened
};

} // namespace kw::fs
