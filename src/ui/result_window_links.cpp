// Marked duplicates replaced by links to the file that stays in their block: the choice,
// the run, and the log of what was replaced. The lines stay, as their paths do.
#include "ui/result_window.h"

#include "fs/links.h"
#include "fs/path_text.h"
#include "results/link_run.h"
#include "results/save_naming.h"
#include "ui/action_progress.h"
#include "ui/link_dialog.h"
#include "ui/locale_texts.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>

#include <algorithm>

namespace kw::ui
{

void TSuchergebnis::DurchVerknuepfungErsetzen1Click()
{
    if (!DurchVerknuepfungErsetzen1->isEnabled())
        return;
    results::Marks current = marks();
    const results::LinkPlan plan = results::linkRequests(m_lines, current, fs::currentFolder());
    if (plan.requests.empty()) {
        showMessage(this, MessageKind::Error, qs(results::notReplacedText({}, plan.leftAlone)));
        return;
    }
    LinkChoiceFacts facts;
    facts.files = plan.requests.size();
    facts.freedBytes = results::plannedFreedBytes(plan, m_records.get());
    facts.mayShareBlocks = std::any_of(plan.requests.begin(), plan.requests.end(),
        [](const results::LinkRequest &request) { return fs::mayShareBlocks(request.path); });
    const std::optional<results::LinkKind> kind = askLinkKind(this, facts);
    if (!kind)
        return;

    std::vector<results::LinkOutcome> outcomes(plan.requests.size());
    ActionProgress progress(
        this, QString::fromUtf8("Durch Verknüpfung ersetzen"),
        [](std::size_t done, std::size_t count) {
            return QString::fromUtf8("%1 von %2 Dateien durch Verknüpfungen ersetzt").arg(done).arg(count);
        },
        plan.requests.size());
    const std::size_t done = progress.run(
        [&](std::size_t i) { outcomes[i] = results::linkOne(plan.requests[i], m_records.get(), *kind, false); });
    std::vector<results::LinkOutcome> replaced;
    std::vector<results::LinkOutcome> failed;
    for (std::size_t i = 0; i < done; ++i)
        (outcomes[i].error ? failed : replaced).push_back(std::move(outcomes[i]));

    // What was replaced is done with: its mark goes, and it frees nothing more.
    const std::string here = fs::currentFolder();
    for (const results::LinkOutcome &outcome : replaced)
        m_replaced.insert(outcome.path);
    for (std::size_t i = 0; i < m_lines.size() && i < current.size(); ++i) {
        const std::string &line = m_lines[i];
        if (current[i] && !line.empty() && m_replaced.count(line.starts_with('/') ? line : fs::joinPath(here, line)))
            current[i] = false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const std::string date = utf8(shortDateText(now.date()));
    results::prepareLinkLog(SaveDialog1, results::dateStamp(date));
    setDocument(results::linkLog(replaced, *kind, date, utf8(longTimeText(now.time()))));
    setMarks(current);
    ListBox1Click();
    if (!replaced.empty())
        showFormattedView();
    if (!failed.empty() || !plan.leftAlone.empty())
        showMessage(this, MessageKind::Error, qs(results::notReplacedText(failed, plan.leftAlone)));
}

} // namespace kw::ui
