// The main window: start folder, marked folders, subfolder option, drive, filter and the
// Start button; the search runs from here.
#pragma once

#include "search/engine.h"
#include "search/request.h"
#include "shell/help_topics.h"
#include "shell/marked_folders.h"
#include "shell/search_options.h"
#include "shell/settings.h"

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedLayout;
class QTimer;

namespace kw::ui
{

class ClickArea;
class DriveComboBox;
class FolderView;
class ShadowLabel;
class TInfo;
class TMeldung;
class TSuchergebnis;
class VerticalLabel;

class THauptfenster : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THauptfenster)
public:
    explicit THauptfenster(QWidget *parent = nullptr);

    // The windows created after this one, which the search drives.
    void attach(TMeldung *meldung, TSuchergebnis *suchergebnis, TInfo *info = nullptr);

    // Restores the settings, runs once before the window is first shown.
    void FormCreate(shell::SettingsStore &store);
    // Writes the settings back; runs when the window closes.
    void FormClose(shell::SettingsStore &store);
    // Where the settings go when the window closes; none: they are not written.
    void setSettingsStore(shell::SettingsStore *store) { m_settings = store; }

    QGroupBox *GroupBox1;
    QLabel *Label1;
    FolderView *RzDirectoryListBox1; // the start folder view
    QListWidget *ListView1; // the marked-folder list, in the same place
    QCheckBox *CheckBox1;
    QLabel *Label2;
    DriveComboBox *RzDriveComboBox1;
    QLabel *Label3;
    QComboBox *Edit1; // the filter, with its history
    QPushButton *Button1;
    ShadowLabel *Copyr2;
    VerticalLabel *Copyr1;
    ClickArea *Image1;
    QTimer *Timer1;

    QMenu *PopupMenu1;
    QMenu *Ordnerliste1;
    QAction *Anzeigen1;
    QAction *OrdnerEinfgen1;
    QAction *OrdnerLschen1;
    QAction *Listeffnen1;
    QAction *Hilfe1;
    QAction *Info1;
    QAction *Suchoptionen1; // the search options beyond the filter
    QLabel *OptionsLine; // under the filter: the options that differ from their defaults

    // The marked-folder list and how the start folder relates to it.
    void OrdnerEinfgen1Click();
    void CheckBox1Click();
    void OrdnerLschen1Click();
    void Anzeigen1Click();
    void ListView1Click();
    void ListView1DblClick();
    void RzDirectoryListBox1Change();
    void RzDriveComboBox1Change();
    void Ordnerliste();
    const shell::MarkedFolders &markedFolders() const { return m_marked; }
    shell::HelpContext helpContext() const { return m_helpContext; }

    void Hilfe1Click(); // the help index
    void Image1Click(); // the about box
    void Timer1Timer();
    void Listeffnen1Click(); // reopening a saved list

    // The search driver: one whole duplicate search.
    void Button1Click();
    bool searching() const { return m_searching; }
    const shell::SearchOptions &searchOptions() const { return m_searchOptions; }
    void setSearchOptions(const shell::SearchOptions &options);
    void Suchoptionen1Click();

    std::vector<std::string> filterHistory() const;
    void setFilterHistory(const std::vector<std::string> &history, const QString &text);
    // What the search reads from this window.
    search::SearchRequest searchRequest() const;
    QString startFolder() const;

signals:
    void searchEnded();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createMenu();
    void connectFolderHandlers();
    void showMarkedFolders();
    void applyOverview(const shell::Overview &overview);
    void placeResultWindow(int resultWidth);
    int measuredResultWidth(const std::vector<std::string> &probes) const;

    TMeldung *m_meldung = nullptr;
    TSuchergebnis *m_suchergebnis = nullptr;
    TInfo *m_info = nullptr;
    QStackedLayout *m_folderViews = nullptr;
    bool m_searching = false;
    bool m_shownBefore = false;
    shell::MarkedFolders m_marked;
    shell::HelpContext m_helpContext = shell::HelpContext::StartFolderView;
    shell::SettingsStore *m_settings = nullptr;
    shell::SearchOptions m_searchOptions;
};

} // namespace kw::ui
