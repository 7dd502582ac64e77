// One search on a worker thread. The window thread keeps painting and playing the progress
// animations; the engine's reports reach the progress dialog from here, and where the search
// must wait for the user (a file that cannot be read) it waits for the message box.
#pragma once

#include "search/engine.h"
#include "search/observer.h"
#include "search/shared_progress.h"
#include "search/texts.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace kw::ui
{

class TMeldung;

class SearchRun : public QObject, public search::SearchObserver
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchRun)
public:
    SearchRun(TMeldung &dialog, QWidget *messageParent);

    // Runs the search and returns its outcome when it has ended; meanwhile the window
    // thread's events are processed.
    search::SearchOutcome execute(const search::SearchRequest &request);

    // Called on the window thread when a phase starts, after the dialog has been told.
    std::function<void(search::Phase)> onPhase;
    // Called on the window thread, at most a few times a second, with the folder the search
    // is listing now.
    std::function<void(const QString &folder)> onFolder;

    // For tests: the seams every search of the program runs with; none by default.
    static inline const search::SearchHooks *testHooks = nullptr;

    // The observer, called on the searching thread.
    void phaseStarted(search::Phase phase) override;
    void foldersFound(std::size_t count) override;
    void filesFound(std::size_t count) override;
    void sortProgress(int percent) override;
    void comparing(std::size_t position, std::size_t count) override;
    void folderListed(const std::string &folder) override;
    void skipped(const std::string &path, std::error_code reason) override;
    void unexpectedError(std::size_t line, std::size_t outer, std::size_t inner) override;

private:
    void showStatus();
    void showPhase(search::Phase phase, std::uint64_t status);
    void followFolder();
    void waitForMessage(const QString &text);

    TMeldung &m_dialog;
    QWidget *m_messageParent;
    search::SharedProgress m_status; // stored by the counting thread, which never waits
    std::atomic<bool> m_cancel {false}; // set by the dialog's close button or Escape
    std::mutex m_folderLock;
    std::string m_folder; // guarded by m_folderLock
    bool m_folderChanged = false; // guarded by m_folderLock
};

} // namespace kw::ui
