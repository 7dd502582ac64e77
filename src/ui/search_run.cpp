#include "ui/search_run.h"

#include "search/texts.h"
#include "ui/message_box.h"
#include "ui/off_thread.h"
#include "ui/progress_dialog.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QThread>
#include <QTimer>

namespace kw::ui
{
namespace
{

constexpr int kRefreshMilliseconds = 100;
constexpr int kFolderMoveTicks = 5; // the start folder view moves about twice a second

} // namespace

SearchRun::SearchRun(TMeldung &dialog, QWidget *messageParent) : m_dialog(dialog), m_messageParent(messageParent) { }

search::SearchOutcome SearchRun::execute(const search::SearchRequest &request)
{
    m_status.reset();
    m_cancel.store(false);
    search::SearchOutcome outcome;
    const QMetaObject::Connection stop
        = connect(&m_dialog, &TMeldung::cancelRequested, this, [this] { m_cancel.store(true); });
    QTimer refresh;
    refresh.setInterval(kRefreshMilliseconds);
    int ticks = 0;
    connect(&refresh, &QTimer::timeout, this, [this, &ticks] {
        showStatus();
        if (++ticks % kFolderMoveTicks == 0)
            followFolder();
    });
    refresh.start();
    const auto search = [&] {
        search::EngineOptions options;
        options.keepRecords = true; // deleting checks each file against them
        options.cancel = &m_cancel;
        options.hooks = testHooks;
        try {
            outcome = search::runSearch(request, *this, options);
        } catch (...) { // nothing may leave the thread; nothing half-made is shown
            outcome = search::SearchOutcome {};
            outcome.failure = search::SearchFailure::of(std::current_exception());
        }
    };
    // Without a thread to be had the search runs here, as a search did before threads: the
    // window waits for it, and the reports are drawn as they come.
    runOffTheWindowThread(search);
    disconnect(stop);
    refresh.stop();
    showStatus(); // the last text of the last phase, exact, and drawn before the dialog goes
    m_dialog.repaint();
    return outcome;
}

void SearchRun::showStatus()
{
    const std::uint64_t packed = m_status.word();
    if (packed != 0)
        m_dialog.setStatus(qs(m_status.unpack(packed).text()));
}

void SearchRun::followFolder()
{
    std::string folder;
    {
        const std::lock_guard lock(m_folderLock);
        if (!m_folderChanged)
            return;
        m_folderChanged = false;
        folder = m_folder;
    }
    if (onFolder)
        onFolder(displayPath(folder));
}

// The status the phase before ended with is handed over with the phase, so that it shows
// exactly, whatever the refresh timer saw. Both are drawn at once, not at the next refresh:
// a phase whose work took a moment (the files, listed while the folders were walked) still
// shows its caption, its animation and its last count.
void SearchRun::showPhase(search::Phase phase, std::uint64_t status)
{
    if (status != 0) {
        m_dialog.setStatus(qs(m_status.unpack(status).text()));
        m_dialog.repaint();
    }
    m_dialog.setWindowTitle(qs(search::phaseCaption(phase)));
    if (phase == search::Phase::FolderSearch)
        m_dialog.showFolderSearch();
    else if (phase == search::Phase::FileSearch)
        m_dialog.showFileSearch();
    m_dialog.repaint();
    if (onPhase)
        onPhase(phase);
}

void SearchRun::phaseStarted(search::Phase phase)
{
    const std::uint64_t status = m_status.word();
    if (QThread::currentThread() == thread())
        showPhase(phase, status);
    else
        QMetaObject::invokeMethod(
            this, [this, phase, status] { showPhase(phase, status); }, Qt::QueuedConnection);
}

void SearchRun::foldersFound(std::size_t count)
{
    m_status.store(search::ProgressStatus::Kind::Folders, count);
}

void SearchRun::filesFound(std::size_t count)
{
    m_status.store(search::ProgressStatus::Kind::Files, count);
}

void SearchRun::sortProgress(int percent)
{
    m_status.store(search::ProgressStatus::Kind::Sorting, static_cast<std::uint64_t>(percent));
}

void SearchRun::comparing(std::size_t position, std::size_t count)
{
    m_status.storeTotal(count);
    m_status.store(search::ProgressStatus::Kind::Comparing, position);
}

void SearchRun::folderListed(const std::string &folder)
{
    const std::lock_guard lock(m_folderLock);
    m_folder = folder;
    m_folderChanged = true;
}

void SearchRun::waitForMessage(const QString &text)
{
    const auto show = [this, text] {
        showStatus();
        // The box shows the arrow, not the hourglass of the search.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        showMessage(m_messageParent, MessageKind::Error, text);
        QApplication::restoreOverrideCursor();
    };
    if (QThread::currentThread() == thread())
        show();
    else
        QMetaObject::invokeMethod(this, show, Qt::BlockingQueuedConnection);
}

void SearchRun::skipped(const std::string &path, std::error_code reason)
{
    waitForMessage(qs(search::skippedText(path, reason)));
}

void SearchRun::unexpectedError(std::size_t line, std::size_t outer, std::size_t inner)
{
    waitForMessage(qs(search::unexpectedErrorText(line, outer, inner)));
}

} // namespace kw::ui
