#include "ui/main_window.h"

#include "fs/path_text.h"
#include "search/texts.h"
#include "shell/filter_history.h"
#include "ui/decoration.h"
#include "ui/drive_combo.h"
#include "ui/folder_view.h"
#include "ui/hints.h"
#include "ui/qt_text.h"
#include "ui/search_options_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedLayout>
#include <QTimer>

namespace kw::ui
{

THauptfenster::THauptfenster(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Hauptfenster"));
    setWindowTitle(QStringLiteral("Kopienwacht"));
    createControls();
    createMenu();
    setHint(this, "rechte Maustaste@für Popup-Menü");
    setHint(GroupBox1, "rechte Maustaste@für Popup-Menü");
}

void THauptfenster::attach(TMeldung *meldung, TSuchergebnis *suchergebnis, TInfo *info)
{
    m_meldung = meldung;
    m_suchergebnis = suchergebnis;
    m_info = info;
}

void THauptfenster::createControls()
{
    GroupBox1 = new QGroupBox(this);
    auto *grid = new QGridLayout(GroupBox1);

    Label1 = new QLabel(QStringLiteral("&Ordner"), GroupBox1);
    RzDirectoryListBox1 = new FolderView(GroupBox1);
    RzDirectoryListBox1->setObjectName(QStringLiteral("RzDirectoryListBox1"));
    setHint(RzDirectoryListBox1, "Startordner");
    ListView1 = new QListWidget(GroupBox1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    setHint(ListView1, "Vorgemerkte Ordner");
    auto *views = new QWidget(GroupBox1);
    m_folderViews = new QStackedLayout(views);
    m_folderViews->setContentsMargins(0, 0, 0, 0);
    m_folderViews->addWidget(RzDirectoryListBox1);
    m_folderViews->addWidget(ListView1);
    m_folderViews->setCurrentWidget(RzDirectoryListBox1);
    Label1->setBuddy(RzDirectoryListBox1);

    CheckBox1 = new QCheckBox(QStringLiteral("Un&tergeordnete Ordner einbeziehen"), GroupBox1);
    setHint(CheckBox1,
        "Wenn diese Checkbox aktiviert wurde,@werden alle untergeordneten Ordner auch@durchsucht. "
        "Ansonsten nur der aktuelle@Ordner");
    auto *line = new QFrame(GroupBox1);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    Label2 = new QLabel(QStringLiteral("&Laufwerk"), GroupBox1);
    RzDriveComboBox1 = new DriveComboBox(GroupBox1);
    setHint(RzDriveComboBox1, "Laufwerk");
    Label2->setBuddy(RzDriveComboBox1);

    Label3 = new QLabel(QStringLiteral("&Filter"), GroupBox1);
    Edit1 = new QComboBox(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEditable(true);
    Edit1->setInsertPolicy(QComboBox::NoInsert);
    setHint(Edit1, "Dateifilter");
    Label3->setBuddy(Edit1);
    setFilterHistory(shell::builtInFilters(), QStringLiteral("*.*"));

    OptionsLine = new QLabel(GroupBox1);
    OptionsLine->setObjectName(QStringLiteral("OptionsLine"));
    OptionsLine->setWordWrap(true);
    OptionsLine->hide();

    Button1 = new QPushButton(QStringLiteral("&Starten"), GroupBox1);
    Button1->setObjectName(QStringLiteral("Button1"));
    setHint(Button1, "Durchsuchen nach Duplikaten@wird gestartet.");
    Button1->setDefault(true);

    Copyr2 = new ShadowLabel(qs(search::kVersionText), GroupBox1);
    Copyr2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(views, 1, 0, 1, 2);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    grid->addWidget(line, 3, 0, 1, 2);
    grid->addWidget(Label2, 4, 0);
    grid->addWidget(Label3, 4, 1);
    grid->addWidget(RzDriveComboBox1, 5, 0);
    grid->addWidget(Edit1, 5, 1);
    grid->addWidget(OptionsLine, 6, 0, 1, 2);
    grid->addWidget(Copyr2, 7, 0);
    grid->addWidget(Button1, 7, 1, Qt::AlignRight);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    Copyr1 = new VerticalLabel(QString::fromUtf8("Kopienwacht · Byte für Byte"), this);
    Image1 = new ClickArea(Copyr1);
    setHint(Image1, "Info");
    auto *outer = new QHBoxLayout(this);
    outer->addWidget(GroupBox1, 1);
    outer->addWidget(Copyr1, 0, Qt::AlignBottom);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);

    RzDirectoryListBox1->setMinimumSize(300, 240);
    RzDirectoryListBox1->setFolder(displayPath(fs::currentFolder()));
    connect(Button1, &QPushButton::clicked, this, &THauptfenster::Button1Click);
    connectFolderHandlers();
}

void THauptfenster::createMenu()
{
    PopupMenu1 = new QMenu(this);
    Ordnerliste1 = PopupMenu1->addMenu(QStringLiteral("&Ordnerliste"));
    Anzeigen1 = Ordnerliste1->addAction(QStringLiteral("&Anzeigen"));
    Anzeigen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    OrdnerEinfgen1 = Ordnerliste1->addAction(QString::fromUtf8("Ordner &Einfügen"));
    OrdnerEinfgen1->setShortcut(QKeySequence(Qt::Key_Insert));
    OrdnerLschen1 = Ordnerliste1->addAction(QString::fromUtf8("Ordner Lös&chen"));
    OrdnerLschen1->setShortcut(QKeySequence(Qt::Key_Delete));
    OrdnerLschen1->setEnabled(false);
    PopupMenu1->addSeparator();
    Listeffnen1 = PopupMenu1->addAction(QString::fromUtf8("Duplikat&liste öffnen"));
    Listeffnen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    PopupMenu1->addSeparator();
    // Beside the old entries: "O" is the marked-folder list's key in this menu.
    Suchoptionen1 = PopupMenu1->addAction(QString::fromUtf8("Suchopt&ionen…"));
    PopupMenu1->addSeparator();
    Hilfe1 = PopupMenu1->addAction(QStringLiteral("Hilfe"));
    Hilfe1->setShortcut(QKeySequence(Qt::Key_F1));
    Info1 = PopupMenu1->addAction(QStringLiteral("Info"));
    // The shortcuts work anywhere in the main window, not only while the menu is open.
    addActions({Anzeigen1, OrdnerEinfgen1, OrdnerLschen1, Listeffnen1, Hilfe1, Info1});

    connect(Anzeigen1, &QAction::triggered, this, &THauptfenster::Anzeigen1Click);
    connect(OrdnerEinfgen1, &QAction::triggered, this, &THauptfenster::OrdnerEinfgen1Click);
    connect(OrdnerLschen1, &QAction::triggered, this, &THauptfenster::OrdnerLschen1Click);
    connect(Listeffnen1, &QAction::triggered, this, &THauptfenster::Listeffnen1Click);
    connect(Hilfe1, &QAction::triggered, this, &THauptfenster::Hilfe1Click);
    connect(Info1, &QAction::triggered, this, &THauptfenster::Image1Click);
    connect(Suchoptionen1, &QAction::triggered, this, &THauptfenster::Suchoptionen1Click);
    connect(Image1, &ClickArea::clicked, this, &THauptfenster::Image1Click);
    connect(Timer1, &QTimer::timeout, this, &THauptfenster::Timer1Timer);
}

void THauptfenster::contextMenuEvent(QContextMenuEvent *event)
{
    PopupMenu1->popup(event->globalPos());
}

// Closing the main window ends the program, whatever other window is open; not while a
// search runs.
void THauptfenster::closeEvent(QCloseEvent *event)
{
    if (m_searching) {
        event->ignore();
        return;
    }
    if (m_settings != nullptr)
        FormClose(*m_settings);
    event->accept();
    QApplication::quit();
}

std::vector<std::string> THauptfenster::filterHistory() const
{
    std::vector<std::string> history;
    for (int i = 0; i < Edit1->count(); ++i)
        history.push_back(utf8(Edit1->itemText(i)));
    return history;
}

void THauptfenster::setFilterHistory(const std::vector<std::string> &history, const QString &text)
{
    Edit1->clear();
    for (const std::string &entry : history)
        Edit1->addItem(qs(entry));
    Edit1->setEditText(text);
}

QString THauptfenster::startFolder() const
{
    return RzDirectoryListBox1->folder();
}

search::SearchRequest THauptfenster::searchRequest() const
{
    search::SearchRequest request;
    request.startFolder = pathBytes(startFolder());
    request.markedFolders = m_marked.searchEntries();
    request.includeSubfolders = CheckBox1->isChecked();
    request.filter = utf8(Edit1->currentText());
    request.filters = shell::filtersOf(m_searchOptions);
    return request;
}

void THauptfenster::setSearchOptions(const shell::SearchOptions &options)
{
    m_searchOptions = options;
    const std::string summary = shell::optionsSummary(options);
    OptionsLine->setText(qs(summary));
    OptionsLine->setToolTip(OptionsLine->text());
    OptionsLine->setVisible(!summary.empty());
}

void THauptfenster::Suchoptionen1Click()
{
    if (const std::optional<shell::SearchOptions> chosen = askSearchOptions(this, m_searchOptions))
        setSearchOptions(*chosen);
}

} // namespace kw::ui
