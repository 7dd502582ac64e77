// The live line of kowacht: drawn from the latest state whatever the counts, cleared at the
// end, and without escape codes where the terminal knows none.
#include "app/kowacht/progress_line.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace kw::app
{
namespace
{

// What was written to `file` so far, read by position: its redraw thread writes to the same
// stream, whose position and buffer this must not touch (the line flushes what it draws).
std::string contents(std::FILE *file)
{
    const int fd = ::fileno(file);
    std::string text;
    char buffer[1024];
    ssize_t n = 0;
    while ((n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Waits up to two seconds for `text` to be written.
bool appears(std::FILE *file, const std::string &text)
{
    for (int i = 0; i < 200; ++i) {
        if (contents(file).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(ProgressLine, ShowsTheLatestStateEvenWhenCountsStop)
{
    std::FILE *stream = std::tmpfile();
    ProgressLine line(stream, LiveDisplay::Terminal);
    line.phaseStarted(search::Phase::Comparison);
    line.comparing(1, 3); // one call, then a long file being compared
    EXPECT_TRUE(appears(stream, "Dateien Vergleichen: 1 von 3 Dateien"));
    line.finish(); // its thread has ended: the stream is this thread's again
    std::fflush(stream);
    EXPECT_TRUE(contents(stream).ends_with("\r\033[K"));
    std::fclose(stream);
}

TEST(ProgressLine, DumbTerminalGetsNoEscapeCodes)
{
    std::FILE *stream = std::tmpfile();
    {
        ProgressLine line(stream, LiveDisplay::Plain);
        line.phaseStarted(search::Phase::FileSearch);
        line.filesFound(12345);
        EXPECT_TRUE(appears(stream, "12345 Dateien gefunden"));
        line.message("eine Meldung");
    }
    std::fflush(stream);
    const std::string text = contents(stream);
    EXPECT_EQ(text.find('\033'), std::string::npos);
    EXPECT_NE(text.find("eine Meldung\n"), std::string::npos);
    std::fclose(stream);
}

TEST(ProgressLine, ControlCharactersInNamesAreEscaped)
{
    EXPECT_EQ(escapedForMessage("/a\nb\tc\x1b[31m"), "/a\\nb\\tc\\x1b[31m");
    EXPECT_EQ(escapedForMessage("/normal/Größe"), "/normal/Größe");
}

} // namespace
} // namespace kw::app
