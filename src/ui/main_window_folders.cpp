// The marked-folder list of the main window: the commands that change it, and how the start
// folder view, the label and the Start button show what follows from it.
#include "ui/main_window.h"

#include "ui/drive_combo.h"
#include "ui/folder_view.h"
#include "ui/hints.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QStyle>

#include <array>

namespace kw::ui
{
namespace
{

// A folder drawn as the old image lists had it: yellow, the open one with its front flap
// tilted forward and lighter, so that the two tell apart at a glance.
QIcon folderIcon(bool open)
{
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(140, 100, 0), 1));
    painter.setBrush(QColor(230, 180, 40));
    painter.drawPolygon(QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.0}, {14.5, 5.0}, {14.5, 13.5}, {1.5, 13.5}}));
    if (open) {
        painter.setBrush(QColor(255, 225, 120));
        painter.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.0, 13.5}, {1.0, 13.5}}));
    } else {
        painter.setBrush(QColor(245, 200, 70));
        painter.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
    }
    painter.end();
    return QIcon(image);
}

// The list's image list: closed folder, open folder, and a red prohibition sign nothing uses.
const std::array<QIcon, 3> &folderIcons()
{
    static const std::array<QIcon, 3> icons = [] {
        QPixmap prohibited(16, 16);
        prohibited.fill(Qt::transparent);
        QPainter painter(&prohibited);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(200, 0, 0), 2));
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.drawLine(QPointF(4, 12), QPointF(12, 4));
        painter.end();
        return std::array<QIcon, 3> {folderIcon(false), folderIcon(true), QIcon(prohibited)};
    }();
    return icons;
}

} // namespace

void THauptfenster::connectFolderHandlers()
{
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    ListView1->setIconSize(QSize(16, 16));

    connect(RzDirectoryListBox1, &FolderView::folderChanged, RzDriveComboBox1, &DriveComboBox::followFolder);
    connect(RzDirectoryListBox1, &FolderView::folderChanged, this, &THauptfenster::RzDirectoryListBox1Change);
    connect(RzDriveComboBox1, &DriveComboBox::driveChosen, this, [this](const QString &folder) {
        RzDriveComboBox1Change();
        RzDirectoryListBox1->setFolder(folder);
    });
    connect(CheckBox1, &QCheckBox::toggled, this, &THauptfenster::CheckBox1Click);
    connect(ListView1, &QListWidget::itemClicked, this, &THauptfenster::ListView1Click);
    connect(ListView1, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        // a check box toggled by the keyboard counts as a click too
        const int row = ListView1->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < m_marked.entries.size()
            && m_marked.entries[static_cast<std::size_t>(row)].active != (item->checkState() == Qt::Checked))
            ListView1Click();
    });
    connect(ListView1, &QListWidget::itemDoubleClicked, this, &THauptfenster::ListView1DblClick);
}

// Shows the entries as the model holds them: caption, check box, icon. The selection is the
// view's own, except that rebuilding the list (after an entry came or went) clears it.
void THauptfenster::showMarkedFolders()
{
    const QSignalBlocker quiet(ListView1);
    if (ListView1->count() != static_cast<int>(m_marked.entries.size())) {
        m_marked.selected.reset();
        ListView1->clear();
        for (std::size_t i = 0; i < m_marked.entries.size(); ++i) {
            auto *item = new QListWidgetItem(ListView1);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        }
    }
    for (std::size_t i = 0; i < m_marked.entries.size(); ++i) {
        const shell::MarkedEntry &entry = m_marked.entries[i];
        QListWidgetItem *item = ListView1->item(static_cast<int>(i));
        item->setText(displayPath(entry.path));
        item->setCheckState(entry.active ? Qt::Checked : Qt::Unchecked);
        item->setIcon(folderIcons()[static_cast<std::size_t>(entry.icon)]);
    }
}

void THauptfenster::applyOverview(const shell::Overview &overview)
{
    Button1->setEnabled(overview.startEnabled);
    QPalette palette = QApplication::palette(RzDirectoryListBox1);
    if (overview.startFolderGreyed) {
        palette.setColor(QPalette::Base, QColor(230, 230, 230));
        palette.setColor(QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    }
    RzDirectoryListBox1->setPalette(palette);
    setHint(RzDirectoryListBox1, overview.startFolderHint);
    Label1->setText(qs(overview.labelCaption));
}

void THauptfenster::Ordnerliste()
{
    m_marked.listShown = m_folderViews->currentWidget() == ListView1;
    showMarkedFolders();
    applyOverview(m_marked.Ordnerliste(pathBytes(startFolder()), CheckBox1->isChecked()));
}

void THauptfenster::OrdnerEinfgen1Click()
{
    m_marked.OrdnerEinfgen1Click(pathBytes(startFolder()), CheckBox1->isChecked());
    Ordnerliste();
}

void THauptfenster::CheckBox1Click()
{
    m_marked.CheckBox1Click(pathBytes(startFolder()), CheckBox1->isChecked());
    Ordnerliste();
}

void THauptfenster::OrdnerLschen1Click()
{
    if (!OrdnerLschen1->isEnabled())
        return;
    const QList<QListWidgetItem *> selection = ListView1->selectedItems();
    if (selection.isEmpty())
        return;
    m_marked.selected = static_cast<std::size_t>(ListView1->row(selection.front()));
    m_marked.OrdnerLschen1Click();
    Ordnerliste();
}

// Shows the list or the start folder view, whichever is hidden.
void THauptfenster::Anzeigen1Click()
{
    const bool showList = Anzeigen1->text() == QStringLiteral("&Anzeigen");
    const bool hadFocus = (showList ? static_cast<QWidget *>(RzDirectoryListBox1) : ListView1)->hasFocus();
    m_helpContext = showList ? shell::HelpContext::MarkedFolderList : shell::HelpContext::StartFolderView;
    Anzeigen1->setText(showList ? QStringLiteral("&Ausblenden") : QStringLiteral("&Anzeigen"));
    OrdnerEinfgen1->setEnabled(!showList);
    OrdnerLschen1->setEnabled(false);
    m_folderViews->setCurrentWidget(showList ? static_cast<QWidget *>(ListView1) : RzDirectoryListBox1);
    m_marked.listShown = showList;
    if (showList) {
        Label1->setText(QStringLiteral("&Ordnerliste"));
        Label1->setBuddy(ListView1);
    } else {
        Label1->setText(QStringLiteral("&Ordner"));
        Label1->setBuddy(RzDirectoryListBox1);
        if (!m_marked.entries.empty())
            Ordnerliste();
    }
    if (hadFocus)
        (showList ? static_cast<QWidget *>(ListView1) : RzDirectoryListBox1)->setFocus();
}

void THauptfenster::ListView1Click()
{
    for (std::size_t i = 0; i < m_marked.entries.size(); ++i)
        m_marked.entries[i].active = ListView1->item(static_cast<int>(i))->checkState() == Qt::Checked;
    const QList<QListWidgetItem *> selection = ListView1->selectedItems();
    m_marked.selected
        = selection.isEmpty() ? std::nullopt : std::optional<std::size_t>(ListView1->row(selection.front()));
    if (m_marked.entries.empty()) {
        OrdnerLschen1->setEnabled(false);
    } else {
        OrdnerLschen1->setEnabled(true);
        setHint(ListView1, m_marked.listHint());
    }
    Ordnerliste();
}

void THauptfenster::ListView1DblClick()
{
    const QList<QListWidgetItem *> selection = ListView1->selectedItems();
    if (m_marked.entries.empty() || selection.isEmpty())
        return;
    const auto row = static_cast<std::size_t>(ListView1->row(selection.front()));
    if (!RzDirectoryListBox1->setFolder(displayPath(m_marked.entries[row].path)))
        return; // a folder that cannot be opened is ignored silently
    Anzeigen1Click();
}

void THauptfenster::RzDirectoryListBox1Change()
{
    m_marked.RzDirectoryListBox1Change(pathBytes(startFolder()));
    Ordnerliste();
}

// The drive selector reports a change once when the window is first shown; a list view
// restored at start must not be undone by it.
void THauptfenster::RzDriveComboBox1Change()
{
    if (m_marked.driveChangeSuppressed) {
        m_marked.driveChangeSuppressed = false;
        return;
    }
    if (m_marked.listShown)
        Anzeigen1Click();
}

} // namespace kw::ui
