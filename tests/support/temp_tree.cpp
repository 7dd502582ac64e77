#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kw::test
{

namespace stdfs = std::filesystem;

TempTree::TempTree()
{
    std::string pattern = (stdfs::temp_directory_path() / "kw-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
}

TempTree::~TempTree()
{
    std::error_code ignored;
    // Give back every permission a test took away, or the tree cannot be removed.
    for (auto it = stdfs::recursive_directory_iterator(m_root, ignored); it != stdfs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            ::chmod(it->path().c_str(), 0755);
    }
    stdfs::remove_all(m_root, ignored);
}

std::string TempTree::checked(std::string_view relative) const
{
    const stdfs::path normal = stdfs::path(relative).lexically_normal();
    if (normal.is_absolute() || normal.empty() || *normal.begin() == "..")
        throw std::invalid_argument("path leaves the test tree: " + std::string(relative));
    return path(relative);
}

std::string TempTree::path(std::string_view relative) const
{
    std::string full = m_root;
    if (!relative.empty()) {
        full.push_back('/');
        full.append(relative);
    }
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    return full;
}

void TempTree::makeParents(const std::string &full) const
{
    stdfs::create_directories(stdfs::path(full).parent_path());
}

std::string TempTree::file(std::string_view relative, std::string_view content)
{
    const std::string full = checked(relative);
    makeParents(full);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempTree::dir(std::string_view relative)
{
    const std::string full = checked(relative);
    stdfs::create_directories(full);
    return full;
}

std::string TempTree::symlink(std::string_view relative, std::string_view target)
{
    const std::string full = checked(relative);
    makeParents(full);
    stdfs::create_symlink(stdfs::path(target), full);
    return full;
}

std::string TempTree::hardlink(std::string_view relative, std::string_view existing)
{
    const std::string full = checked(relative);
    makeParents(full);
    stdfs::create_hard_link(checked(existing), full);
    return full;
}

std::string TempTree::fifo(std::string_view relative)
{
    const std::string full = checked(relative);
    makeParents(full);
    if (::mkfifo(full.c_str(), 0644) != 0)
        throw std::runtime_error("mkfifo failed: " + full);
    return full;
}

std::string TempTree::sparse(std::string_view relative, std::uint64_t size, std::string_view tail)
{
    const std::string full = checked(relative);
    makeParents(full);
    const int fd = ::open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + full);
    const auto offset = static_cast<off_t>(size - tail.size());
    const bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0
        && ::pwrite(fd, tail.data(), tail.size(), offset) == static_cast<ssize_t>(tail.size());
    ::close(fd);
    if (!ok)
        throw std::runtime_error("cannot make sparse file " + full);
    return full;
}

bool TempTree::writeAt(const std::string &path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

void TempTree::chmod(std::string_view relative, unsigned mode)
{
    stdfs::permissions(checked(relative), static_cast<stdfs::perms>(mode));
}

void TempTree::remove(std::string_view relative)
{
    stdfs::remove_all(checked(relative));
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace kw::test
