// Saving a list where one is already: the old list survives a failure, other kinds of files
// are written as ">" writes them, and nothing is replaced that the user may not write.
#include "fs/replace_file.h"

#include "fs/file_access.h"

#include "support/file_facts.h"
#include "support/other_user.h"
#include "support/scratch_volume.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace kw::fs
{
namespace
{

using test::entriesIn;
using test::statusOf;

namespace stdfs = std::filesystem;

constexpr uid_t kNobody = 65534;

// What a FIFO's writer sends, or what came before it gave up: a writer that never comes fails
// the test, never hangs it.
std::string readFifo(const std::string &path)
{
    const OwnedHandle fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    std::string text;
    pollfd wait = {fd.get().native(), POLLIN, 0};
    char buffer[256];
    // Linux reports no hang-up before a writer has come: poll waits for the first one.
    while (fd.valid() && ::poll(&wait, 1, 60'000) > 0) {
        const ssize_t n = ::read(fd.get().native(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

TEST(ReplaceFile, TheNewFileIsPrivateUntilItHoldsEverythingThenTakesTheOldMode)
{
    test::TempTree t;
    const std::string list = t.file("liste.txt", "alt");
    ASSERT_EQ(::chmod(list.c_str(), 0664), 0);
    mode_t whileWritten = 0777;
    {
        const ScopedReplaceWatch watch([&](Handle fd) {
            struct stat status = {};
            ASSERT_EQ(::fstat(fd.native(), &status), 0);
            whileWritten = status.st_mode & 0777;
        });
        ASSERT_FALSE(replaceFile(list, "neu"));
        ASSERT_FALSE(replaceFile(t.path("frisch.txt"), "neu"));
    }
    EXPECT_EQ(whileWritten, 0600U);
    EXPECT_EQ(statusOf(list).st_mode & 0777, 0664U);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(statusOf(t.path("frisch.txt")).st_mode & 0777, 0666U & ~mask);
    EXPECT_EQ(test::readFile(list), "neu");
    EXPECT_EQ(entriesIn(t.root()), 2U);
}

TEST(ReplaceFile, OwnerLinksAndFurtherNamesStayAsTheyWere)
{
    test::TempTree t;
    const std::string list = t.file("ordner/liste.txt", "alt");
    t.symlink("ordner/verweis", "liste.txt"); // relative, from the link's own folder
    t.symlink("zweiter", t.path("ordner/verweis"));
    ASSERT_FALSE(replaceFile(t.path("zweiter"), "eins"));
    EXPECT_TRUE(S_ISLNK(statusOf(t.path("zweiter")).st_mode));
    EXPECT_TRUE(S_ISLNK(statusOf(t.path("ordner/verweis")).st_mode));
    EXPECT_EQ(test::readFile(list), "eins");

    const std::string other = t.hardlink("andere.txt", "ordner/liste.txt");
    const ino_t inode = statusOf(list).st_ino;
    ASSERT_FALSE(replaceFile(list, "zwei, länger als vorher"));
    EXPECT_EQ(test::readFile(other), "zwei, länger als vorher");
    EXPECT_EQ(statusOf(list).st_ino, inode);
    ASSERT_FALSE(replaceFile(list, "drei"));
    EXPECT_EQ(test::readFile(other), "drei");

    // A link the kernel makes up, to a file opened here.
    const OwnedHandle opened(::open(list.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(opened.valid());
    ASSERT_FALSE(replaceFile("/proc/self/fd/" + std::to_string(opened.get().native()), "vier"));
    EXPECT_EQ(test::readFile(list), "vier");

    if (::geteuid() != 0)
        GTEST_SKIP() << "a file of another user needs root";
    const std::string theirs = t.file("ihre.txt", "alt");
    ASSERT_EQ(::chown(theirs.c_str(), kNobody, kNobody), 0);
    ASSERT_FALSE(replaceFile(theirs, "neu"));
    EXPECT_EQ(statusOf(theirs).st_uid, kNobody);
    EXPECT_EQ(statusOf(theirs).st_gid, kNobody);
}

TEST(ReplaceFile, DevicesAndFifosAreWrittenIntoNeverReplaced)
{
    test::TempTree t;
    if (::mknod(t.path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0
        || ::mknod(t.path("full").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "making device files needs root";
    EXPECT_FALSE(replaceFile(t.path("null"), "liste"));
    EXPECT_TRUE(S_ISCHR(statusOf(t.path("null")).st_mode));
    EXPECT_EQ(replaceFile(t.path("full"), "liste"), std::errc::no_space_on_device);
    EXPECT_TRUE(S_ISCHR(statusOf(t.path("full")).st_mode));

    const std::string fifo = t.fifo("rohr");
    std::string read;
    std::thread reader([&] { read = readFifo(fifo); });
    EXPECT_FALSE(replaceFile(fifo, "durch das Rohr"));
    reader.join();
    EXPECT_EQ(read, "durch das Rohr");
    EXPECT_TRUE(S_ISFIFO(statusOf(fifo).st_mode));
    EXPECT_EQ(entriesIn(t.root()), 3U); // nothing made beside them

    const std::string block = t.path("platte");
    ASSERT_EQ(::mknod(block.c_str(), S_IFBLK | 0600, ::makedev(7, 200)), 0);
    EXPECT_TRUE(replaceFile(block, "liste"));
    EXPECT_TRUE(S_ISBLK(statusOf(block).st_mode));
}

TEST(ReplaceFile, AFileTheUserMayNotWriteIsRefusedEvenWhereTheFolderLetsThemReplaceIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    test::TempTree t;
    ASSERT_EQ(::chmod(t.root().c_str(), 0755), 0);
    t.dir("offen");
    t.chmod("offen", 0777); // anyone may make and remove names here: no sticky bit
    const std::string list = t.file("offen/liste.txt", "von root");
    ASSERT_EQ(::chmod(list.c_str(), 0644), 0);
    const int refused = test::runAsOtherUser([&] {
        const std::error_code error = replaceFile(list, "von nobody");
        return error == std::errc::permission_denied ? 0 : error ? 2 : 1;
    });
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(test::readFile(list), "von root");
    EXPECT_EQ(statusOf(list).st_uid, 0U);
    EXPECT_EQ(entriesIn(t.path("offen")), 1U);
}

TEST(ReplaceFile, OverwritingInPlaceOnAFullVolumeKeepsTheOldList)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    test::ScratchVolume volume("256k");
    if (!volume.mounted())
        GTEST_SKIP() << "cannot mount a scratch volume (needs root)";
    // A list of theirs in a folder they may not write in: it can only be rewritten in place.
    stdfs::create_directory(volume.path("fest"));
    const std::string list = volume.path("fest/liste.txt");
    ASSERT_TRUE(test::TempTree::writeAt(list, "/alte/liste\r\n"));
    ASSERT_EQ(::chown(list.c_str(), kNobody, kNobody), 0);
    const ino_t inode = statusOf(list).st_ino;
    volume.fill();
    const std::string longer(100000, 'x');
    const int full = test::runAsOtherUser([&] {
        const std::error_code error = replaceFile(list, longer);
        return error == std::errc::no_space_on_device ? 0 : error ? 2 : 1;
    });
    EXPECT_EQ(full, 0);
    EXPECT_EQ(test::readFile(list), "/alte/liste\r\n");
    ::unlink(volume.path("fuellung").c_str());
    EXPECT_EQ(test::runAsOtherUser([&] { return replaceFile(list, longer) ? 1 : 0; }), 0);
    EXPECT_EQ(test::readFile(list), longer);
    EXPECT_EQ(test::runAsOtherUser([&] { return replaceFile(list, "kurz") ? 1 : 0; }), 0);
    EXPECT_EQ(test::readFile(list), "kurz");
    EXPECT_EQ(statusOf(list).st_ino, inode);
}

} // namespace
} // namespace kw::fs
