// The search driver of the main window: from the press of "&Starten" to the result window.
#include "ui/main_window.h"

#include "search/texts.h"
#include "shell/filter_history.h"
#include "shell/window_placement.h"
#include "ui/folder_view.h"
#include "ui/input_blocker.h"
#include "ui/message_box.h"
#include "ui/progress_dialog.h"
#include "ui/qt_text.h"
#include "ui/result_width.h"
#include "ui/result_window.h"
#include "ui/search_run.h"
#include "ui/window_geometry.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontMetrics>

#include <algorithm>
#include <utility>

namespace kw::ui
{

void THauptfenster::Button1Click()
{
    if (m_searching || m_meldung == nullptr || m_suchergebnis == nullptr)
        return;
    const QString chosenFolder = startFolder();
    if (!QFileInfo(chosenFolder).isDir()) {
        // The start folder was removed since it was chosen: nothing is searched in its place.
        showMessage(
            this, MessageKind::Error, QStringLiteral("Der Ordner '%1' existiert nicht mehr.").arg(chosenFolder));
        return;
    }
    m_searching = true;

    m_suchergebnis->listKind = search::ListKind::DuplicateList;
    const shell::Rect screen = screenRect(this);
    placeOuter(m_meldung,
        [this](const shell::Rect &dialog) { return shell::centredOver(outerRect(this), dialog.width, dialog.height); });
    if (!m_suchergebnis->isVisible()) {
        placeOuter(m_suchergebnis, [this, screen](const shell::Rect &result) {
            return shell::resultWindowCentred(outerRect(this), result.width, result.height, screen);
        });
    }
    m_suchergebnis->setWindowTitle(qs(search::kResultCaption));
    m_suchergebnis->ZurckzuListe1Click();

    // The filter used moves to the front of the history.
    const QString filter = Edit1->currentText();
    const std::vector<std::string> historyBefore = filterHistory();
    std::vector<std::string> history = historyBefore;
    shell::recordFilterUse(history, utf8(filter));
    setFilterHistory(history, filter);
    m_suchergebnis->setLines({});

    m_meldung->setWindowTitle(qs(search::phaseCaption(search::Phase::FolderSearch)));
    m_meldung->showFolderSearch();
    m_meldung->show();
    m_meldung->raise();
    // The window system shows the dialog (exposes it) only once its events are handled, and
    // a fast search's phases would be drawn before that, into nothing: handle them first.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    search::SearchOutcome outcome;
    {
        const InputBlocker blocker({this, m_suchergebnis});
        SearchRun run(*m_meldung, this);
        run.onPhase = [this](search::Phase phase) {
            // The result list is empty until the comparison fills it again.
            if (phase == search::Phase::Comparison && m_suchergebnis->isVisible())
                m_suchergebnis->hide();
        };
        run.onFolder = [this](const QString &folder) { RzDirectoryListBox1->setFolder(folder); };
        outcome = run.execute(searchRequest());
    }

    if (outcome.cancelled) {
        // Stopped by the user: nothing to show, and the main window as before the search.
        setFilterHistory(historyBefore, filter);
        m_meldung->hide();
        QApplication::restoreOverrideCursor();
        RzDirectoryListBox1->setFolder(chosenFolder);
        m_searching = false;
        emit searchEnded();
        return;
    }
    const bool found = !outcome.lines.empty();
    m_suchergebnis->setLines(std::move(outcome.lines), outcome.records);
    m_suchergebnis->setWindowTitle(qs(outcome.caption()));
    if (found)
        placeResultWindow(measuredResultWidth(outcome.widthProbes));
    m_meldung->hide();
    QApplication::restoreOverrideCursor();
    // The view followed the search through its folders; the next search must start from the
    // folder the user chose, not from the last one searched.
    RzDirectoryListBox1->setFolder(chosenFolder);
    m_searching = false;
    if (!found)
        showMessage(this, MessageKind::Information, qs(search::kNoDuplicatesText));
    // Once, whatever failed and how often: the list shown holds what was compared.
    if (outcome.failure)
        showMessage(this, MessageKind::Error, qs(search::searchFailedText(*outcome.failure)));
    emit searchEnded();
}

// The width the paths need in the label font: MS Sans Serif at 15 pixels on the original;
// here the first of its metric look-alikes that is installed.
int THauptfenster::measuredResultWidth(const std::vector<std::string> &probes) const
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(15);
    std::vector<QString> texts;
    texts.reserve(probes.size());
    for (const std::string &probe : probes)
        texts.push_back(displayPath(probe));
    return resultWidthFor(std::move(texts), QFontMetrics(font), logicalDpiX());
}

void THauptfenster::placeResultWindow(int resultWidth)
{
    // Never wider than the screen: a window off its left edge would show every line begun
    // out of sight; the simple view scrolls sideways instead.
    const shell::Rect screen = screenRect(this);
    const int wanted = std::min(resultWidth, screen.width);
    // The outer width is what is wanted. Before its first showing the window's frame is not
    // known and counts as none: once it is, a width set so is set again, frame and all.
    TSuchergebnis *window = m_suchergebnis;
    const auto widen = [window, wanted](bool frameKnown) {
        const shell::Rect before = outerRect(window);
        const int frame = before.width - window->width();
        const bool setWithoutFrame = frameKnown && before.width > wanted && window->width() == wanted;
        if (before.width < wanted || setWithoutFrame)
            window->resize(wanted - frame, window->height());
    };
    widen(false);
    placeOuter(
        m_suchergebnis,
        [this, screen](const shell::Rect &result) {
            return shell::resultWindowAfterSearch(
                outerRect(this), std::min(result.width, screen.width), result.height, screen);
        },
        [widen] { widen(true); });
    m_suchergebnis->show();
}

} // namespace kw::ui
