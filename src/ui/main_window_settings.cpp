// Start-up and close of the main window: the settings read back and written, the greeting
// of a first start, help and the about box.
#include "ui/main_window.h"

#include "shell/filter_history.h"
#include "shell/greetings.h"
#include "shell/window_placement.h"
#include "ui/about_box.h"
#include "ui/decoration.h"
#include "ui/folder_view.h"
#include "ui/help_window.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStackedLayout>
#include <QTimer>

namespace kw::ui
{

void THauptfenster::FormCreate(shell::SettingsStore &store)
{
    adjustSize();
    const shell::StoredSettings settings = shell::readSettings(store);

    // Each marked folder is opened in the start folder view; one that cannot be is dropped.
    for (const search::MarkedFolder &entry : settings.markedFolders) {
        if (RzDirectoryListBox1->setFolder(displayPath(entry.path)))
            m_marked.entries.push_back({entry.path, entry.active, shell::FolderIcon::Closed});
    }
    if (settings.startFolder)
        RzDirectoryListBox1->setFolder(displayPath(*settings.startFolder));
    if (!m_marked.entries.empty()) {
        RzDirectoryListBox1Change();
        if (settings.listViewStored())
            m_marked.driveChangeSuppressed = true;
    }

    const shell::Rect screen = screenRect(this);
    const std::optional<int> x = settings.xPos;
    const std::optional<int> y = settings.yPos;
    placeOuter(this, [x, y, screen](const shell::Rect &outer) {
        return shell::Point {shell::storedOrCentredEdge(x, outer.width, screen.width),
            shell::storedOrCentredEdge(y, outer.height, screen.height)};
    });

    if (!settings.filters.empty()) {
        Edit1->clear();
        for (const std::string &filter : settings.filters)
            Edit1->addItem(qs(filter));
        Edit1->setEditText(Edit1->itemText(0));
    }
    if (settings.subfolders)
        CheckBox1->setChecked(true); // as a user's click: the start folder joins the list
    setSearchOptions(shell::readSearchOptions(store));

    const std::vector<MessageButton> yesNo = {MessageButton::Yes, MessageButton::No};
    if (settings.firstStart()) {
        if (showMessage(this, MessageKind::Confirmation, qs(shell::kWelcomeQuestion), yesNo) == MessageButton::Yes)
            Hilfe1Click();
    } else if (settings.firstStartOfThisVersion()) {
        if (showMessage(this, MessageKind::Confirmation, qs(shell::kUpdateQuestion), yesNo) == MessageButton::Yes)
            Hilfe1Click();
    }
    if (settings.firstStart() || !settings.view)
        Timer1->start();

    if (m_marked.driveChangeSuppressed)
        Anzeigen1Click();
    else
        Ordnerliste();
}

void THauptfenster::FormClose(shell::SettingsStore &store)
{
    shell::SettingsToWrite settings;
    settings.startFolder = pathBytes(startFolder());
    settings.markedFolders = m_marked.searchEntries();
    settings.listShown = m_folderViews->currentWidget() == ListView1;
    settings.xPos = frameGeometry().x();
    settings.yPos = frameGeometry().y();
    settings.filterHistory = filterHistory();
    settings.filterText = utf8(Edit1->currentText());
    settings.subfolders = CheckBox1->isChecked();
    shell::writeSettings(store, settings);
    shell::writeSearchOptions(store, m_searchOptions);
}

// The drive selector of old reported one change when the window was first shown; ours does
// not, so the report is made here, and the suppression flag set at start meets it.
void THauptfenster::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownBefore) {
        m_shownBefore = true;
        QTimer::singleShot(0, this, &THauptfenster::RzDriveComboBox1Change);
    }
}

void THauptfenster::Hilfe1Click()
{
    openHelpTopic(shell::kHelpIndexTopic);
}

void THauptfenster::Timer1Timer()
{
    Timer1->stop();
    Image1Click();
    // On a first start the help the user asked for opened before the box: it went under the
    // main window and the box, and comes back to the front once the box is closed.
    if (THilfe *help = helpWindow(); help != nullptr && help->isVisible()) {
        help->raise();
        help->activateWindow();
    }
}

void THauptfenster::Image1Click()
{
    if (m_info == nullptr)
        return;
    // Over the main window as it stands when the box is placed, its own frame known by then.
    placeOuter(
        m_info, [this](const shell::Rect &box) { return shell::centredOver(outerRect(this), box.width, box.height); });

    m_info->Label2->setText(Copyr2->text());
    m_info->exec();
}

} // namespace kw::ui
