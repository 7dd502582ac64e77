#include "fs/descriptor_limits.h"
#include "fs/file_access.h"
#include "fs/open_faults.h"
#include "fs/posix/open_below.h"

#include "fs/posix/stat_conversion.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace kw::fs
{
namespace
{

// Both ways of opening below a handle must refuse the same links.
class OpenBelow : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam())
            nameByName.emplace();
        t.file("a/b/c.txt", "inhalt");
        t.symlink("l", t.path("a"));
        t.symlink("a/b/lc.txt", t.path("a/b/c.txt"));
        top = openFolder(t.root()).fd;
    }

    std::optional<ScopedNameByNameOpening> nameByName;
    test::TempTree t;
    OwnedHandle top;
};

TEST_P(OpenBelow, FollowsNoLinkOnTheWayNorAtTheEnd)
{
    EXPECT_FALSE(openBelow(top.get(), "a/b/c.txt", O_RDONLY).error);
    EXPECT_EQ(openBelow(top.get(), "l/b/c.txt", O_RDONLY).error, std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(openBelow(top.get(), "a/b/lc.txt", O_RDONLY).error, std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(openBelow(top.get(), "a/fehlt/c.txt", O_RDONLY).error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(openBelow(top.get(), "", O_RDONLY | O_DIRECTORY).error);
    EXPECT_EQ(openBelow(top.get(), "l", O_PATH | O_DIRECTORY).error, std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(openBelow(top.get(), "a/b/c.txt", O_PATH | O_DIRECTORY).error, std::errc::not_a_directory);
}

TEST_P(OpenBelow, HasNoLimitOnTheLengthOfAPath)
{
    // 40 folders of 200 bytes: far past PATH_MAX, made name by name.
    const std::string name(200, 'x');
    std::string relative;
    OwnedHandle folder(::dup(top.get().native()));
    for (int level = 0; level < 40; ++level) {
        ASSERT_EQ(::mkdirat(folder.get().native(), name.c_str(), 0755), 0);
        folder = OwnedHandle(::openat(folder.get().native(), name.c_str(), O_RDONLY | O_DIRECTORY));
        relative += name + "/";
    }
    const OwnedHandle file(::openat(folder.get().native(), "tief.txt", O_WRONLY | O_CREAT, 0644));
    ASSERT_TRUE(file.valid());
    relative += "tief.txt";
    EXPECT_FALSE(openBelow(top.get(), relative, O_RDONLY).error);
    const Status status = statusOfPath(top.get(), relative);
    EXPECT_FALSE(status.error);
    EXPECT_EQ(status.status.kind, FileKind::Regular);
    // clean up from the deepest folder upwards, which remove_all of a path could not
    ASSERT_EQ(::unlinkat(folder.get().native(), "tief.txt", 0), 0);
    for (int level = 39; level >= 0; --level) {
        const auto length = static_cast<std::size_t>(level) * (name.size() + 1);
        const std::string parent = level == 0 ? std::string() : relative.substr(0, length - 1);
        const Opened up = openBelow(top.get(), parent, O_RDONLY | O_DIRECTORY);
        ASSERT_FALSE(up.error);
        ASSERT_EQ(::unlinkat(up.fd.get().native(), name.c_str(), AT_REMOVEDIR), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(OpenBelow, OpenBelow, testing::Values(false, true),
    [](const testing::TestParamInfo<bool> &param) { return param.param ? "NameByName" : "Openat2"; });

TEST(OpenFault, HoldsOnlyWhileInPlace)
{
    {
        const ScopedOpenFault fault([](std::string_view) { return true; });
        EXPECT_TRUE(openFaultFor("/x"));
    }
    EXPECT_FALSE(openFaultActive());
}

// Runs `body` in a child process, so that the limits it sets and the value remembered of
// them stay there: later tests see the process as it was. Exits with the body's result.
int inChild(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0)
        std::_Exit(body());
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The raised limit holds for the search; a program started meanwhile gets the old one.
TEST(OpenFileLimit, IsRaisedForTheProgramAndLoweredForWhatItStarts)
{
    EXPECT_EQ(inChild([] {
        rlimit before = {};
        if (::getrlimit(RLIMIT_NOFILE, &before) != 0)
            return 10;
        rlimit lowered = before;
        lowered.rlim_cur = std::min<rlim_t>(before.rlim_max, 512);
        if (::setrlimit(RLIMIT_NOFILE, &lowered) != 0)
            return 11;
        raiseOpenFileLimit();
        rlimit raised = {};
        ::getrlimit(RLIMIT_NOFILE, &raised);
        if (raised.rlim_cur != std::min<rlim_t>(before.rlim_max, rlim_t {1} << 20))
            return 1;
        if (folderHandleAllowance() <= openFileAllowance())
            return 2;
        {
            const ScopedOrdinaryFileLimit ordinary;
            rlimit meanwhile = {};
            ::getrlimit(RLIMIT_NOFILE, &meanwhile);
            if (meanwhile.rlim_cur != lowered.rlim_cur)
                return 3;
        }
        rlimit after = {};
        ::getrlimit(RLIMIT_NOFILE, &after);
        return after.rlim_cur == raised.rlim_cur ? 0 : 4;
    }),
        0);
}

// Making room in the table must not close what the program was handed at its top number.
TEST(OpenFileLimit, ADescriptorInheritedAtTheTopOfTheTableStaysOpen)
{
    EXPECT_EQ(inChild([] {
        const rlimit fixed = {256, 256}; // no room above: the table is reserved up to 255
        int pipeEnds[2];
        if (::setrlimit(RLIMIT_NOFILE, &fixed) != 0 || ::pipe(pipeEnds) != 0 || ::dup2(pipeEnds[1], 255) != 255)
            return 2;
        raiseOpenFileLimit();
        char byte = 0;
        return ::write(255, "k", 1) == 1 && ::read(pipeEnds[0], &byte, 1) == 1 && byte == 'k' ? 0 : 1;
    }),
        0);
}

} // namespace
} // namespace kw::fs
