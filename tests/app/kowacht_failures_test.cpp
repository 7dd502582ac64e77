// kowacht when the search cannot be done as asked: no threads to be had, a group or the
// read-ahead failing. It never aborts; what broke off is said, with status 5.
#include "app/kowacht/run.h"

#include "kowacht_runner.h"
#include "support/other_user.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kw::app
{
namespace
{

class KowachtFailures : public testing::Test
{
protected:
    void SetUp() override
    {
        t.file("a/x", "gleich");
        t.file("b/x", "gleich");
        t.file("a/gross", std::string(9000, 'g'));
        t.file("b/gross", std::string(9000, 'g'));
    }
    test::TempTree t;
};

TEST_F(KowachtFailures, AGroupThatCannotBeComparedEndsWithStatusFiveAndItsReason)
{
    search::SearchHooks hooks;
    hooks.afterLastBlock = [](const std::string &path) {
        if (path.ends_with("/gross"))
            throw std::bad_alloc();
    };
    for (const char *format : {"--format=text", "--format=json"}) {
        const test::KowachtRun run = test::runKowachtWithHooks(t, {"-q", format, "-r", t.root()}, hooks);
        EXPECT_EQ(run.status, kSearchFailed) << format;
        EXPECT_NE(run.err.find("kowacht: die Suche brach ab: nicht genug Arbeitsspeicher\n"), std::string::npos)
            << run.err;
        // What was compared is still listed.
        EXPECT_NE(run.out.find(t.path("a/x")), std::string::npos) << format;
        EXPECT_EQ(run.out.find(t.path("a/gross")), std::string::npos) << format;
    }
}

TEST_F(KowachtFailures, AFailingReadAheadEndsWithStatusFiveAndMovesNothing)
{
    search::SearchHooks hooks;
    hooks.readAheadStarted = [] { throw std::runtime_error("kein Speicher für das Fenster"); };
    const test::KowachtRun run
        = test::runKowachtWithHooks(t, {"-q", "--read-ahead=always", "--trash", "-r", t.root()}, hooks);
    EXPECT_EQ(run.status, kSearchFailed);
    EXPECT_NE(
        run.err.find("die Suche brach ab: ein interner Fehler (kein Speicher für das Fenster)"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nichts wurde in den Papierkorb verschoben"), std::string::npos) << run.err;
    EXPECT_EQ(test::readFile(t.path("b/x")), "gleich");
}

TEST_F(KowachtFailures, NoThreadsBeyondTheFirstGiveTheListOfOneThread)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a process limit for another user needs root";
    if (!test::otherUserMayRun(KOWACHT_BINARY))
        GTEST_SKIP() << "nobody may not run " << KOWACHT_BINARY << " where it was built";
    ASSERT_EQ(::chmod(t.root().c_str(), 0755), 0);
    // As a user with one process allowed: no thread can be started at all (nor the leak
    // checker's of a sanitizer build, which is therefore off).
    const std::string command = "ulimit -u 1; ASAN_OPTIONS=detect_leaks=0 exec setpriv --reuid=65534 --regid=65534 "
                                "--clear-groups " KOWACHT_BINARY " -r --threads 4 --read-ahead=always "
        + t.root() + " > " + t.path("../limited.out") + " 2>/dev/null";
    const int status = std::system(("bash -c '" + command + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kCompleted);
    const std::string listed = test::readFile(t.path("../limited.out"));
    ::unlink(t.path("../limited.out").c_str());
    EXPECT_EQ(
        listed, t.path("a/x") + "\n" + t.path("b/x") + "\n\n" + t.path("a/gross") + "\n" + t.path("b/gross") + "\n");
}

TEST_F(KowachtFailures, OutputOntoADeviceWritesIntoItAndLeavesItADevice)
{
    const std::string device = t.path("../" + t.root().substr(t.root().rfind('/') + 1) + ".null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device file needs root";
    const std::string command
        = std::string(KOWACHT_BINARY) + " -q -r -o " + device + " " + t.root() + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    struct stat after = {};
    EXPECT_EQ(::lstat(device.c_str(), &after), 0);
    ::unlink(device.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kCompleted);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
}

} // namespace
} // namespace kw::app
