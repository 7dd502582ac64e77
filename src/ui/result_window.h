// The result window: the result list in a simple view, on which marking, opening and
// deleting act, and in a formatted view that is printed and saved as rich text.
#pragma once

#include "fs/trash.h"
#include "results/formatted_document.h"
#include "results/marking.h"
#include "results/save_dialog_state.h"
#include "search/records.h"
#include "search/result_list.h"
#include "search/state.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <set>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QStackedLayout;
class QTextEdit;

namespace kw::ui
{

class TSuchergebnis : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSuchergebnis)
public:
    explicit TSuchergebnis(QWidget *parent = nullptr);

    QListWidget *ListBox1; // simple view: one line per list entry, extended selection
    QTextEdit *RichEdit1; // formatted view: read-only rich text

    // The simple view's menu, in menu order.
    QMenu *PopupMenu1;
    QAction *ListeFormatieren1;
    QAction *Speichern2;
    QAction *ListeDrucken2;
    QAction *DuplikateMarkieren1;
    QAction *Markierungsmaske1;
    QAction *AllesMarkieren1;
    QAction *DateienLschen1;
    QAction *DurchVerknuepfungErsetzen1; // beside the deletion: duplicates replaced by links
    QAction *Schlieen1;
    // Beyond them, what users of duplicate finders ask for most: marking by folder and by
    // age, opening a file's folder, taking lines off the list.
    QMenu *WeitereMarkierungen1;
    QAction *AlleAusserInOrdnerBehalten1;
    QAction *AlleInDiesemOrdner1;
    QAction *NeuesteBehalten1;
    QAction *AeltesteBehalten1;
    QAction *MarkierungUmkehren1;
    QAction *KeineMarkieren1;
    QAction *OrdnerOeffnen1;
    QAction *AusListeEntfernen1;
    // The formatted view's menu.
    QMenu *PopupMenu2;
    QAction *ZurckzuListe1;
    QAction *Speichern1;
    QAction *Drucken1;
    QAction *Schlieen2;

    // What the list holds; set to a duplicate list by every search, to a file list by a
    // deletion run that removed something.
    search::ListKind listKind = search::ListKind::DuplicateList;
    results::SaveDialogState SaveDialog1;

    const search::ResultList &lines() const { return m_lines; }
    // No line is marked afterwards. `records`: what the search noted of its files, so that
    // deleting can tell whether a file is still the one compared; none for a reopened list.
    void setLines(search::ResultList lines, std::shared_ptr<const search::SearchRecords> records = nullptr);
    const results::FormattedDocument &document() const { return m_document; }
    void setDocument(results::FormattedDocument document);
    bool formattedViewShown() const;

    // The marks: the selected lines of the simple view.
    results::Marks marks() const;
    void setMarks(const results::Marks &marks);

    void ListBox1Click();
    void AllesMarkieren1Click();
    void DuplikateMarkieren1Click();
    void Markierungsmaske1Click();
    void ListBox1DblClick();
    void DateienLschen1Click();
    void DurchVerknuepfungErsetzen1Click();
    void AlleAusserInOrdnerBehalten1Click();
    void AlleInDiesemOrdner1Click();
    void NachAlterBehalten(bool newest);
    void MarkierungUmkehren1Click();
    void KeineMarkieren1Click();
    void OrdnerOeffnen1Click();
    void AusListeEntfernen1Click();
    QLabel *StatusLine; // what the marks would free
    QLabel *SearchedLine; // the folders searched, where more than the start folder
    // Where deleted files go; tests put in one that refuses some files.
    void setTrash(std::unique_ptr<fs::Trash> trash) { m_trash = std::move(trash); }

    void Speichern2Click(); // the list as a text file
    void Speichern1Click(); // the formatted document as RTF
    void Drucken1Click();
    void ListeDrucken2Click();

    void FListe();
    void ListeFormatieren1Click();
    void ZurckzuListe1Click();
    void Schlieen1Click();
    void showFormattedView();

protected:
    void closeEvent(QCloseEvent *event) override; // FormClose
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void createMoreMenus();
    void applyMarks(const results::Marks &marks);
    void showMarkedSpace();
    std::optional<std::size_t> menuLine() const; // the line the context menu was opened on
    void switchToSimpleView();
    void fillList(const results::Marks &marks);
    std::optional<QString> chooseSavePath();
    void saveTo(const QString &path, const std::string &bytes);
    void printDocument();

    QStackedLayout *m_views;
    search::ResultList m_lines; // the paths as the file system holds their bytes
    results::FormattedDocument m_document;
    std::shared_ptr<const search::SearchRecords> m_records;
    std::unique_ptr<fs::Trash> m_trash;
    std::set<std::string> m_replaced; // paths replaced by links: they free nothing more
    bool m_applyingMarks = false; // the selection is being set from marks: no handler runs
    int m_menuRow = -1; // the line under the pointer when the context menu opened
};

} // namespace kw::ui
