#include "app/kowacht/progress_line.h"

#include "search/texts.h"

#include <algorithm>

namespace kw::app
{
namespace
{

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

} // namespace

ProgressLine::ProgressLine(std::FILE *stream, bool live) : m_stream(stream), m_live(live) { }

void ProgressLine::phaseStarted(search::Phase phase)
{
    m_caption = search::phaseCaption(phase);
    if (m_live)
        draw(); // the status of the phase before stays until the new one counts
}

void ProgressLine::foldersFound(std::size_t count)
{
    update({search::ProgressStatus::Kind::Folders, count, 0});
}

void ProgressLine::filesFound(std::size_t count)
{
    update({search::ProgressStatus::Kind::Files, count, 0});
}

void ProgressLine::sortProgress(int percent)
{
    update({search::ProgressStatus::Kind::Sorting, static_cast<unsigned long long>(percent), 0});
}

void ProgressLine::comparing(std::size_t position, std::size_t count)
{
    update({search::ProgressStatus::Kind::Comparing, position, count});
}

void ProgressLine::update(search::ProgressStatus status)
{
    m_status = status;
    if (!m_live || (++m_calls & 63) != 0)
        return;
    if (std::chrono::steady_clock::now() - m_lastDraw >= kRedrawInterval)
        draw();
}

void ProgressLine::skipped(const std::string &path, std::error_code reason)
{
    message(search::skippedText(path, reason));
}

void ProgressLine::unexpectedError(std::size_t line, std::size_t outer, std::size_t inner)
{
    std::string text = search::unexpectedErrorText(line, outer, inner);
    std::replace(text.begin(), text.end(), '\r', '\n');
    message(text);
}

void ProgressLine::message(const std::string &text)
{
    finish();
    std::fprintf(m_stream, "%s\n", text.c_str());
    std::fflush(m_stream);
}

void ProgressLine::draw()
{
    m_lastDraw = std::chrono::steady_clock::now();
    std::string line = m_caption;
    const std::string status = m_status.text();
    if (!status.empty())
        line.append(": ").append(status);
    std::fprintf(m_stream, "\r%s\033[K", line.c_str());
    std::fflush(m_stream);
    m_drawn = true;
}

void ProgressLine::finish()
{
    if (m_drawn) {
        std::fputs("\r\033[K", m_stream);
        std::fflush(m_stream);
        m_drawn = false;
    }
}

} // namespace kw::app
