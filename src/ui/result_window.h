// The result window: the result list in a simple view, on which marking, opening and
// deleting act, and in a formatted view that is printed and saved as rich text.
#pragma once

#include "results/formatted_document.h"
#include "results/save_dialog_state.h"
#include "search/result_list.h"
#include "search/state.h"

#include <QWidget>

class QAction;
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
    QAction *Schlieen1;
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
    void setLines(search::ResultList lines); // no line marked afterwards
    const results::FormattedDocument &document() const { return m_document; }
    void setDocument(results::FormattedDocument document);
    bool formattedViewShown() const;

    void FListe();
    void ListeFormatieren1Click();
    void ZurckzuListe1Click();
    void Schlieen1Click();
    void showFormattedView();

protected:
    void closeEvent(QCloseEvent *event) override; // FormClose

private:
    void createMenus();
    void switchToSimpleView();

    QStackedLayout *m_views;
    search::ResultList m_lines; // the paths as the file system holds their bytes
    results::FormattedDocument m_document;
};

} // namespace kw::ui
