#include "app/kowacht/progress_line.h"

#include "fs/path_facts.h"
#include "fs/writing.h"
#include "search/thread_start.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>

namespace kw::app
{
namespace
{

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

// Ctrl+C ends the program at once; the live line must not stay behind on the terminal. The
// handler may only write, so what it writes is prepared beforehand.
std::atomic<bool> lineOnScreen {false};
char clearSequence[256] = "\r\033[K";
std::size_t clearLength = 4;

void clearOnInterrupt(int signal)
{
    if (lineOnScreen.load()) {
        fs::writeStandardErrorInSignal(clearSequence, clearLength);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

LiveDisplay liveDisplayForStderr(bool quiet)
{
    if (quiet || !fs::standardErrorIsTerminal())
        return LiveDisplay::None;
    const char *term = std::getenv("TERM");
    if (term == nullptr || std::strcmp(term, "dumb") == 0 || term[0] == '\0')
        return LiveDisplay::Plain;
    return LiveDisplay::Terminal;
}

std::string escapedForMessage(std::string_view path)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            text.append("\\n");
        else if (c == '\r')
            text.append("\\r");
        else if (c == '\t')
            text.append("\\t");
        else if (byte < 0x20 || byte == 0x7f)
            text.append("\\x").append(1, hex[byte >> 4]).append(1, hex[byte & 15]);
        else
            text.push_back(c);
    }
    return text;
}

ProgressLine::ProgressLine(std::FILE *stream, LiveDisplay display) : m_stream(stream), m_display(display)
{
    if (m_display == LiveDisplay::None)
        return;
    if (m_display == LiveDisplay::Plain) { // blanks over the longest line the display draws
        clearSequence[0] = '\r';
        std::memset(clearSequence + 1, ' ', 120);
        clearSequence[121] = '\r';
        clearLength = 122;
    }
    std::signal(SIGINT, clearOnInterrupt);
    std::signal(SIGTERM, clearOnInterrupt);
    // Without a thread of its own the line is not kept up to date; messages still come.
    if (std::optional<std::thread> redraw = search::tryStartThread([this] { redrawLoop(); }))
        m_redraw = std::move(*redraw);
}

ProgressLine::~ProgressLine()
{
    finish();
}

void ProgressLine::phaseStarted(search::Phase phase)
{
    m_phase.store(static_cast<int>(phase));
}

void ProgressLine::foldersFound(std::size_t count)
{
    m_status.store(search::ProgressStatus::Kind::Folders, count);
}

void ProgressLine::filesFound(std::size_t count)
{
    m_status.store(search::ProgressStatus::Kind::Files, count);
}

void ProgressLine::sortProgress(int percent)
{
    m_status.store(search::ProgressStatus::Kind::Sorting, static_cast<std::uint64_t>(percent));
}

void ProgressLine::comparing(std::size_t position, std::size_t count)
{
    m_status.storeTotal(count);
    m_status.store(search::ProgressStatus::Kind::Comparing, position);
}

void ProgressLine::skipped(const std::string &path, std::error_code reason)
{
    m_skipped.push_back({path, reason});
    message(search::commandLineSkippedText(escapedForMessage(path), reason));
}

void ProgressLine::unexpectedError(std::size_t line, std::size_t outer, std::size_t inner)
{
    std::string text = search::unexpectedErrorText(line, outer, inner);
    std::replace(text.begin(), text.end(), '\r', '\n');
    message("kowacht: " + text);
}

void ProgressLine::message(const std::string &text)
{
    const std::lock_guard lock(m_writing);
    clear();
    std::fprintf(m_stream, "%s\n", text.c_str());
    std::fflush(m_stream);
}

void ProgressLine::redrawLoop()
{
    std::unique_lock lock(m_writing);
    try {
        while (!m_stop.wait_for(lock, kRedrawInterval, [this] { return m_stopping; }))
            draw();
    } catch (const std::exception &) {
        // No memory for a line: it stops being drawn; the search and its messages go on.
    }
}

void ProgressLine::draw()
{
    const int phase = m_phase.load();
    if (phase < 0)
        return;
    std::string line = search::phaseCaption(static_cast<search::Phase>(phase));
    const search::ProgressStatus status = m_status.load();
    const std::string text = status.text();
    if (!text.empty())
        line.append(": ").append(text);
    if (m_display == LiveDisplay::Terminal) {
        std::fprintf(m_stream, "\r%s\033[K", line.c_str());
    } else {
        // No escape codes: what is left of a longer line before is covered with blanks.
        const std::size_t width = line.size();
        std::fprintf(
            m_stream, "\r%s%*s", line.c_str(), static_cast<int>(m_drawnWidth > width ? m_drawnWidth - width : 0), "");
    }
    std::fflush(m_stream);
    m_drawnWidth = std::max<std::size_t>(line.size(), 1);
    lineOnScreen.store(true);
}

void ProgressLine::clear()
{
    if (m_drawnWidth == 0)
        return;
    if (m_display == LiveDisplay::Terminal)
        std::fputs("\r\033[K", m_stream);
    else
        std::fprintf(m_stream, "\r%*s\r", static_cast<int>(m_drawnWidth), "");
    std::fflush(m_stream);
    m_drawnWidth = 0;
    lineOnScreen.store(false);
}

void ProgressLine::finish()
{
    {
        const std::lock_guard lock(m_writing);
        m_stopping = true;
    }
    m_stop.notify_all();
    if (m_redraw.joinable())
        m_redraw.join();
    const std::lock_guard lock(m_writing);
    clear();
}

} // namespace kw::app
