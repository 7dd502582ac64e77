// The deletion run of the result window: marked files to the trash, the list reconciled
// with what is really gone, the log shown.
#include "ui/result_window.h"

#include "fs/file_access.h"
#include "fs/path_text.h"
#include "results/deletion.h"
#include "results/save_naming.h"
#include "search/texts.h"
#include "ui/action_progress.h"
#include "ui/locale_texts.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QLabel>

#include <set>

namespace kw::ui
{

void TSuchergebnis::DateienLschen1Click()
{
    if (!DateienLschen1->isEnabled())
        return;
    results::Marks current = marks();
    const results::DeletionQuestion question = results::deletionQuestion(m_lines, current);
    const QDateTime now = QDateTime::currentDateTime();
    const std::string date = utf8(shortDateText(now.date()));
    const std::string time = utf8(longTimeText(now.time()));
    results::prepareDeletionLog(SaveDialog1, results::dateStamp(date));

    // When every copy of some file is marked, the safe answer is the one Enter gives.
    const MessageButton answer
        = showMessage(this, MessageKind::Confirmation, qs(question.text), {MessageButton::Yes, MessageButton::No},
            question.wholeBlocks > 0 ? MessageButton::No : MessageButton::Yes, SearchedLine->text());
    std::vector<results::TrashOutcome> notMoved;
    if (answer == MessageButton::Yes) {
        // Every file is checked once more just before it goes; what fails stays, marked.
        // A cancel stops between two files: what went stays gone and is logged, the rest
        // stays marked.
        const std::vector<results::TrashRequest> requests
            = results::trashRequests(m_lines, current, fs::currentFolder(), question.wholeBlocks > 0);
        std::vector<results::TrashOutcome> outcomes(requests.size());
        ActionProgress progress(
            this, QString::fromUtf8("Dateien Löschen"),
            [](std::size_t done, std::size_t count) {
                return QStringLiteral("%1 von %2 Dateien in den Papierkorb").arg(done).arg(count);
            },
            requests.size());
        const std::size_t done = progress.run(
            [&](std::size_t i) { outcomes[i] = results::trashOne(requests[i], m_records.get(), *m_trash); });
        for (std::size_t i = 0; i < done; ++i) {
            if (outcomes[i].error)
                notMoved.push_back(std::move(outcomes[i]));
        }
    }

    // What is gone is found out file by file, whatever the trash reported; a file that was
    // to go and stayed keeps its line and its mark, whatever stands at its path now.
    std::set<std::string> stayed;
    for (const results::TrashOutcome &outcome : notMoved)
        stayed.insert(outcome.path);
    const std::string here = fs::currentFolder();
    const std::vector<std::string> removed
        = results::reconcileAfterDeletion(m_lines, current, [&](const std::string &line) {
              return stayed.count(line.starts_with('/') ? line : fs::joinPath(here, line)) != 0 || fs::fileExists(line);
          });
    if (!removed.empty())
        listKind = search::ListKind::FileList;
    setDocument(results::deletionLog(removed, date, time));
    fillList(current);
    setWindowTitle(qs(search::kResultCaption));
    if (!removed.empty())
        showFormattedView();
    DateienLschen1->setEnabled(results::anyMarked(current));
    if (!notMoved.empty())
        showMessage(this, MessageKind::Error, qs(results::notMovedText(notMoved)));
}

} // namespace kw::ui
