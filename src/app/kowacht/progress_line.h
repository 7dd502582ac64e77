// What kowacht writes to stderr while it searches: the access messages as they come and,
// on a terminal, one line updated in place with the phase and its status.
#pragma once

#include "search/observer.h"
#include "search/texts.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace kw::app
{

class ProgressLine final : public search::SearchObserver
{
public:
    ProgressLine(std::FILE *stream, bool live);

    void phaseStarted(search::Phase phase) override;
    void foldersFound(std::size_t count) override;
    void filesFound(std::size_t count) override;
    void sortProgress(int percent) override;
    void comparing(std::size_t position, std::size_t count) override;
    void skipped(const std::string &path, std::error_code reason) override;
    void unexpectedError(std::size_t line, std::size_t outer, std::size_t inner) override;

    // Clears the live line, so that what follows starts on a clean line.
    void finish();

private:
    // Counts come once per file: they are only stored, and the clock is read now and then;
    // the line is redrawn at most ten times a second, from the latest values.
    void update(search::ProgressStatus status);
    void message(const std::string &text);
    void draw();

    std::FILE *m_stream;
    bool m_live;
    std::string m_caption;
    search::ProgressStatus m_status;

    unsigned m_calls = 0;
    std::chrono::steady_clock::time_point m_lastDraw {};
    bool m_drawn = false;
};

} // namespace kw::app
