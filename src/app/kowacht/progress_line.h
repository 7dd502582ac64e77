// What kowacht writes to stderr while it searches: the messages as they come and, on a
// terminal, one line updated in place with the phase and its status.
#pragma once

#include "app/kowacht/output_formats.h"
#include "search/observer.h"
#include "search/shared_progress.h"
#include "search/texts.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kw::app
{

enum class LiveDisplay {
    None, // stderr is no terminal: messages only
    Plain, // a terminal that knows no escape codes (TERM=dumb): overwritten with blanks
    Terminal, // the line is cleared with an escape code
};

// The display for this process's stderr.
LiveDisplay liveDisplayForStderr(bool quiet);

// A path as a message may show it: control characters (a line break in a name, say) are
// written as escapes, so that every message stays one line.
std::string escapedForMessage(std::string_view path);

class ProgressLine final : public search::SearchObserver
{
public:
    ProgressLine(std::FILE *stream, LiveDisplay display);
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;
    ~ProgressLine() override;

    void phaseStarted(search::Phase phase) override;
    void foldersFound(std::size_t count) override;
    void filesFound(std::size_t count) override;
    void sortProgress(int percent) override;
    void comparing(std::size_t position, std::size_t count) override;
    void skipped(const std::string &path, std::error_code reason) override;
    void unexpectedError(std::size_t line, std::size_t outer, std::size_t inner) override;

    // Stops drawing and clears the live line, so that what follows starts on a clean line.
    void finish();

    // Writes a message line, out of the way of the live line.
    void message(const std::string &text);

    const std::vector<Skipped> &skippedEntries() const { return m_skipped; }

private:
    // Counts come once per file from the searching thread and are only stored; a thread of
    // its own redraws the line five times a second from the latest of them, however few
    // counts come (one huge file compared) or how many.
    void redrawLoop();
    void draw();
    void clear();

    std::FILE *m_stream;
    LiveDisplay m_display;
    std::atomic<int> m_phase {-1};
    search::SharedProgress m_status;
    std::vector<Skipped> m_skipped;

    std::mutex m_writing; // stderr is written by both threads
    std::condition_variable m_stop;
    bool m_stopping = false;
    std::size_t m_drawnWidth = 0; // 0: no live line on the screen
    std::thread m_redraw;
};

} // namespace kw::app
