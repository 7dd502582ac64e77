#include "support/file_facts.h"

#include "fs/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace kw::test
{

struct stat statusOf(const std::string &path)
{
    struct stat status = {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status;
}

ino_t inodeOf(const std::string &path)
{
    struct stat status = {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

std::size_t entriesIn(const std::string &folder)
{
    namespace stdfs = std::filesystem;
    std::error_code missing;
    stdfs::directory_iterator entries(folder, missing);
    return missing ? 0 : static_cast<std::size_t>(std::distance(entries, stdfs::directory_iterator()));
}

std::optional<std::vector<fs::Extent>> extentsOf(const std::string &path)
{
    const fs::Opened opened = fs::openRegularFile(path);
    return opened.error ? std::nullopt : fs::extentsOf(opened.fd.get());
}

bool shareAllBlocks(const std::string &a, const std::string &b)
{
    const auto x = extentsOf(a);
    const auto y = extentsOf(b);
    return x && y && !x->empty() && *x == *y
        && std::all_of(x->begin(), x->end(), [](const fs::Extent &e) { return e.shared; });
}

} // namespace kw::test
