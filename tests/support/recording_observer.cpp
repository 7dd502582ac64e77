#include "support/recording_observer.h"

#include "search/texts.h"

namespace kw::test
{

void RecordingObserver::phaseStarted(search::Phase phase)
{
    captions.push_back(search::phaseCaption(phase));
}

void RecordingObserver::foldersFound(std::size_t count)
{
    statuses.push_back(search::foldersFoundText(count));
    m_byPhase.emplace_back(captions.empty() ? "" : captions.back(), statuses.back());
}

void RecordingObserver::filesFound(std::size_t count)
{
    statuses.push_back(search::filesFoundText(count));
    m_byPhase.emplace_back(captions.empty() ? "" : captions.back(), statuses.back());
}

void RecordingObserver::sortProgress(int percent)
{
    statuses.push_back(search::sortingText(percent));
    m_byPhase.emplace_back(captions.empty() ? "" : captions.back(), statuses.back());
}

void RecordingObserver::comparing(std::size_t position, std::size_t count)
{
    statuses.push_back(search::comparingText(position, count));
    m_byPhase.emplace_back(captions.empty() ? "" : captions.back(), statuses.back());
}

void RecordingObserver::folderListed(const std::string &folder)
{
    listedFolders.push_back(folder);
}

void RecordingObserver::skipped(const std::string &path, std::error_code reason)
{
    messages.push_back(search::skippedText(path, reason));
    skips.push_back({path, reason});
}

void RecordingObserver::unexpectedError(std::size_t line, std::size_t outer, std::size_t inner)
{
    messages.push_back(search::unexpectedErrorText(line, outer, inner));
}

std::string RecordingObserver::lastStatusOf(const std::string &caption) const
{
    std::string last;
    for (const auto &[phaseCaption, status] : m_byPhase)
        if (phaseCaption == caption)
            last = status;
    return last;
}

} // namespace kw::test
