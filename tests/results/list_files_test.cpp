#include "results/list_files.h"

#include "fs/file_access.h"
#include "support/other_user.h"
#include "support/scratch_volume.h"
#include "support/temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include <random>

namespace kw::results
{
namespace
{

using Lines = std::vector<std::string>;

Lines split(std::string_view text)
{
    Lines lines;
    ListLineReader reader;
    const auto keep = [&](std::string_view line) { lines.emplace_back(line); };
    reader.feed(text, keep);
    reader.finish(keep);
    return lines;
}

TEST(ListLines, CrEndsALineAndALoneLfIsACharacter)
{
    EXPECT_EQ(split("a\r\nb\r\n"), (Lines {"a", "b"}));
    EXPECT_EQ(split("a\r\n\r\nb"), (Lines {"a", "", "b"}));
    EXPECT_EQ(split("a\rb\r"), (Lines {"a", "b"}));
    EXPECT_EQ(split("a\nb\r\n"), (Lines {"a\nb"}));
    EXPECT_EQ(split("a\r\n\nb\r\n"), (Lines {"a", "\nb"}));
    EXPECT_EQ(split(""), Lines {});
    EXPECT_EQ(split("\r\n"), (Lines {""}));
}

TEST(ListLines, CtrlZEndsTheText)
{
    EXPECT_EQ(split("a\r\nb\x1a"
                    "c\r\nd\r\n"),
        (Lines {"a", "b"}));
    // pieces fed one after another give the same lines, also with CR and LF apart
    Lines lines;
    ListLineReader reader;
    const auto keep = [&](std::string_view line) { lines.emplace_back(line); };
    for (const std::string_view piece : {"a\r", "\nb", "\r", "\n\r", "\n"})
        reader.feed(piece, keep);
    reader.finish(keep);
    EXPECT_EQ(lines, (Lines {"a", "b", ""}));
}

class Reopen : public testing::Test
{
protected:
    ReopenedList reopen(const std::string &content)
    {
        return reopenList(t.file("liste.txt", content), [](const std::string &p) { return fs::fileExists(p); });
    }
    test::TempTree t;
};

TEST_F(Reopen, SavedListComesBackAsItWas)
{
    const Lines lines = {t.file("a", "1"), t.file("b", "1"), "", t.file("c", "2"), t.file("d", "2")};
    EXPECT_EQ(reopen(plainListText(lines)).lines, lines);
}

TEST_F(Reopen, LinesOfFilesGoneAreDroppedTheirSeparatorsStay)
{
    const Lines lines
        = {t.path("weg1"), t.path("weg2"), "", t.file("c", "2"), t.file("d", "2"), "", t.path("weg3"), t.path("weg4")};
    const ReopenedList list = reopen("\r\n\r\n" + plainListText(lines) + "\r\n");
    EXPECT_FALSE(list.error);
    EXPECT_EQ(list.lines, (Lines {lines[3], lines[4], "", ""}));
}

TEST_F(Reopen, LoneLfAndCtrlZ)
{
    const std::string a = t.file("a", "1");
    const std::string b = t.file("b", "1");
    const ReopenedList list = reopen(a + "\r\n" + b + "\n" + a + "\r\n" + b + "\x1a" + a + "\r\n");
    EXPECT_EQ(list.lines, (Lines {a, b})); // "b\na" names no file
}

TEST_F(Reopen, ListOfAToolThatEndsLinesWithLfAloneIsReadAtLf)
{
    const std::string a = t.file("a", "1");
    const std::string b = t.file("b", "1");
    const std::string c = t.file("c", "2");
    EXPECT_EQ(reopen(a + "\n" + b + "\n\n" + c + "\n").lines, (Lines {a, b, "", c}));
    // one CR anywhere before the end of the text, and the old rules hold for the whole file
    EXPECT_EQ(reopen(a + "\n" + b + "\r\n").lines, Lines {});
    // a CR only after 0x1A does not count
    EXPECT_EQ(reopen(a + "\n" + b + "\n\x1a\r\n").lines, (Lines {a, b}));
}

TEST_F(Reopen, NothingLeft)
{
    const ReopenedList list = reopen(t.path("weg") + "\r\n\r\n" + t.path("fort") + "\r\n");
    EXPECT_TRUE(list.opened);
    EXPECT_TRUE(list.lines.empty());
}

TEST_F(Reopen, FilesThatAreNoListsNeitherCrashNorHang)
{
    std::mt19937 random(3);
    std::string binary(3 << 20, '\0');
    for (char &c : binary)
        c = static_cast<char>(random());
    EXPECT_TRUE(reopen(binary).lines.empty());
    EXPECT_TRUE(reopen(std::string(10 << 20, 'x')).lines.empty()); // one endless line
    t.fifo("rohr");
    const ReopenedList pipe = reopenList(t.path("rohr"), [](const std::string &) { return true; });
    EXPECT_FALSE(pipe.opened);
    EXPECT_EQ(reopenErrorText(pipe.error), "E/A-Fehler 22");
}

TEST_F(Reopen, ErrorTexts)
{
    const ReopenedList missing = reopenList(t.path("fehlt.txt"), [](const std::string &) { return true; });
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(reopenErrorText(missing.error), "Datei nicht gefunden");
    EXPECT_EQ(reopenErrorText(std::make_error_code(std::errc::permission_denied)), "Dateizugriff verweigert");
    EXPECT_EQ(reopenErrorText(std::make_error_code(std::errc::io_error)), "E/A-Fehler 5");

    const std::string locked = t.file("gesperrt.txt", "x\r\n");
    t.chmod("gesperrt.txt", 0);
    ::chmod(t.root().c_str(), 0755);
    EXPECT_EQ(test::runAsOtherUser([&] {
        const ReopenedList list = reopenList(locked, [](const std::string &) { return true; });
        return reopenErrorText(list.error) == "Dateizugriff verweigert" ? 0 : 1;
    }),
        0);
}

TEST(PlainList, EveryLineEndsInCrLfWithoutAnythingElse)
{
    EXPECT_EQ(plainListText({"/a", "", "/b"}), "/a\r\n\r\n/b\r\n");
    EXPECT_EQ(plainListText({}), "");
    test::TempTree t;
    EXPECT_FALSE(writePlainList(t.path("l.txt"), {"/ä"}));
    EXPECT_EQ(test::readFile(t.path("l.txt")), "/ä\r\n");
    EXPECT_TRUE(writePlainList(t.path("fehlt/l.txt"), {"/a"}));
}

TEST(PlainList, ReplacingKeepsTheOldFileUntilTheNewOneIsComplete)
{
    test::ScratchVolume volume("64k");
    if (!volume.mounted())
        GTEST_SKIP() << "cannot mount a scratch volume (needs root)";
    const std::string list = volume.path("Duplikate.txt");
    ASSERT_FALSE(writePlainList(list, {"/alt"}));
    ::chmod(list.c_str(), 0640);
    volume.fill();
    EXPECT_TRUE(writePlainList(list, Lines(20000, "/ein/langer/pfad/der/nicht/mehr/passt")));
    EXPECT_EQ(test::readFile(list), "/alt\r\n");
    ::unlink(volume.path("fuellung").c_str());
    ASSERT_FALSE(writePlainList(list, {"/neu"}));
    EXPECT_EQ(test::readFile(list), "/neu\r\n");
    struct stat status = {};
    ASSERT_EQ(::stat(list.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640U); // the old file's permissions
    std::size_t files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(volume.root()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1U); // no half-written file left beside it
}

} // namespace
} // namespace kw::results
