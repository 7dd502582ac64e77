// An observer that writes down what a search reported, as the texts a user would see.
#pragma once

#include "search/observer.h"

#include <string>
#include <vector>

namespace kw::test
{

class RecordingObserver : public search::SearchObserver
{
public:
    void phaseStarted(search::Phase phase) override;
    void foldersFound(std::size_t count) override;
    void filesFound(std::size_t count) override;
    void sortProgress(int percent) override;
    void comparing(std::size_t position, std::size_t count) override;
    void folderListed(const std::string &folder) override;
    void skipped(const std::string &path, std::error_code reason) override;
    void unexpectedError(std::size_t line, std::size_t outer, std::size_t inner) override;

    std::vector<std::string> captions; // phase captions in order
    std::vector<std::string> statuses; // every status text in order
    std::vector<std::string> messages; // access and other messages in order
    std::vector<std::string> listedFolders;
    std::vector<std::pair<std::string, std::error_code>> skips; // path and reason of each skip

    // The last status text shown before the caption `caption` was replaced (or at the end).
    std::string lastStatusOf(const std::string &caption) const;

private:
    std::vector<std::pair<std::string, std::string>> m_byPhase; // caption, status
};

} // namespace kw::test
