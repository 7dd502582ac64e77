// How the engine tells its front end what it is doing: numbers and events, never texts.
// The dialog and the command line turn them into words with the same functions (texts.h).
#pragma once

#include <cstddef>
#include <string>

namespace kw::search
{

enum class Phase {
    FolderSearch, // collecting the folders to search
    FileSearch, // listing files, then grouping them by size
    Comparison, // comparing the contents of equal-size files
};

// Called on the searching thread. Counts come often (once per folder or file): an
// implementation keeps them and lets its display catch up at its own pace.
class SearchObserver
{
public:
    virtual ~SearchObserver() = default;

    virtual void phaseStarted(Phase) { }
    virtual void foldersFound(std::size_t /*count*/) { }
    virtual void filesFound(std::size_t /*count*/) { }
    virtual void sortProgress(int /*percent*/) { }
    virtual void comparing(std::size_t /*position*/, std::size_t /*count*/) { }
    // The inventory is now listing this folder (folder form), for a view that follows it.
    virtual void folderListed(const std::string & /*folder*/) { }
    // A file or folder could not be read; the search waits until this returns.
    virtual void accessDenied(const std::string & /*path*/) { }
    // A name with a line break was left out: it cannot stand as a line of the list.
    virtual void nameSkipped(const std::string & /*path*/) { }
    // Something failed that should not (memory, say) while a size group was compared:
    // candidate line, and the two group members being compared.
    virtual void unexpectedError(std::size_t /*line*/, std::size_t /*outer*/, std::size_t /*inner*/) { }
};

// For callers that want no reports.
class NullObserver final : public SearchObserver
{
};

} // namespace kw::search
