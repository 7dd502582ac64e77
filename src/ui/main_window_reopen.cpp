// Reopening a saved plain list into the result window.
#include "ui/main_window.h"

#include "fs/file_access.h"
#include "results/list_files.h"
#include "search/texts.h"
#include "ui/file_dialogs.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/result_window.h"
#include "ui/window_geometry.h"

#include <QFileInfo>

namespace kw::ui
{

// Only the lines whose files still exist come back, so a list saved earlier shows what is
// left of those duplicates.
void THauptfenster::Listeffnen1Click()
{
    if (m_suchergebnis == nullptr)
        return;
    const std::optional<QString> chosen = askListToOpen(this);
    if (!chosen)
        return;
    const results::ReopenedList list
        = results::reopenList(pathBytes(*chosen), [](const std::string &line) { return fs::fileExists(line); });
    if (!list.opened) {
        showMessage(this, MessageKind::Error, qs(results::reopenErrorText(list.error)));
        return; // the result list keeps its lines
    }
    m_suchergebnis->ZurckzuListe1Click(); // a reopened list is shown as a list
    m_suchergebnis->setLines(list.lines);
    if (list.error) {
        showMessage(this, MessageKind::Error, qs(results::reopenErrorText(list.error)));
        return; // the lines read so far stay; the window is not shown
    }
    if (list.lines.empty())
        return; // nothing left: nothing shown, no message

    const shell::Rect screen = screenRect(this);
    placeOuter(m_suchergebnis, [this, screen](const shell::Rect &result) {
        return shell::resultWindowCentred(outerRect(this), result.width, result.height, screen);
    });
    m_suchergebnis->setWindowTitle(
        qs(search::kResultCaption) + QStringLiteral(" [") + QFileInfo(*chosen).fileName() + QStringLiteral("]"));
    m_suchergebnis->show();
    m_suchergebnis->raise();
    m_suchergebnis->activateWindow(); // the user asked for it: it comes to the front with the keyboard
}

} // namespace kw::ui
