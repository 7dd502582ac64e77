// How the engine tells its front end what it is doing: numbers and events, never texts.
// The dialog and the command line turn them into words with the same functions (texts.h).
#pragma once

#include <cstddef>
#include <string>
#include <system_error>

namespace kw::search
{

enum class Phase {
    FolderSearch, // collecting the folders to search
    FileSearch, // listing files, then grouping them by size
    Comparison, // comparing the contents of equal-size files
};

// Called on the thread that runs the search, never on its helper threads, in the order a
// search on one thread would call it. Counts come often (once per folder or file): an
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
    // A file or folder is left out of the search, and why: it could not be read, its name
    // cannot stand in a list, it is a kernel file system, or it changed while it was read.
    // Each is counted in AccessErrorCount. The search waits until this returns.
    virtual void skipped(const std::string & /*path*/, std::error_code /*reason*/) { }
    // Something failed that should not (memory, say) while a size group was compared:
    // candidate line, and the two group members being compared.
    virtual void unexpectedError(std::size_t /*line*/, std::size_t /*outer*/, std::size_t /*inner*/) { }
};

// For callers that want no reports.
class NullObserver final : public SearchObserver
{
};

} // namespace kw::search
