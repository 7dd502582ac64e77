#include "ui/result_window.h"

#include "results/save_naming.h"
#include "search/texts.h"
#include "ui/desktop_open.h"
#include "ui/document_view.h"
#include "ui/help_window.h"
#include "ui/hints.h"
#include "ui/locale_texts.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QShortcut>
#include <QStackedLayout>
#include <QTextEdit>
#include <QToolTip>
#include <QVBoxLayout>

namespace kw::ui
{

TSuchergebnis::TSuchergebnis(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Suchergebnis"));
    setWindowTitle(qs(search::kResultCaption));
    resize(554, 289);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Paths longer than the window can be read by scrolling sideways.
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    setHint(ListBox1, "Die Rechte Maustaste öffnet@das Popup-Menü.");

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    RichEdit1->setFocusPolicy(Qt::ClickFocus); // no tab stop while hidden
    // The formatted list is black, as it is printed: on paper, whatever the colour scheme
    // (black on a dark scheme's near-black could not be read).
    QPalette paper = RichEdit1->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        paper.setColor(group, QPalette::Base, Qt::white);
        paper.setColor(group, QPalette::Text, Qt::black);
    }
    RichEdit1->setPalette(paper);
    setHint(RichEdit1, "Die Rechte Maustaste öffnet@das Popup-Menü.");

    // Both views in the same place, filling the client area above the status line, one
    // visible at a time.
    auto *viewArea = new QWidget(this);
    m_views = new QStackedLayout(viewArea);
    m_views->setContentsMargins(0, 0, 0, 0);
    m_views->addWidget(ListBox1);
    m_views->addWidget(RichEdit1);
    m_views->setCurrentWidget(ListBox1);
    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setContentsMargins(4, 1, 4, 1);
    // What the search covered, where that was more than the start folder: a folder marked
    // hours ago is searched too, and its files are among those marked.
    SearchedLine = new QLabel(this);
    SearchedLine->setObjectName(QStringLiteral("SearchedLine"));
    SearchedLine->setContentsMargins(4, 1, 4, 1);
    SearchedLine->hide();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(viewArea, 1);
    column->addWidget(SearchedLine);
    column->addWidget(StatusLine);
    // A right press opens the menu and changes no mark: the list would otherwise select the
    // line under the pointer, and deleting would then take the wrong files.
    ListBox1->viewport()->installEventFilter(this);

    m_trash = platformTrash();
    createMenus();
    createMoreMenus();
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { openHelp(shell::HelpContext::ResultWindow); });
}

void TSuchergebnis::setLines(search::ResultList lines, std::shared_ptr<const search::SearchRecords> records)
{
    m_lines = std::move(lines);
    m_records = std::move(records);
    m_replaced.clear();
    std::vector<std::string> tops;
    if (m_records)
        for (const search::SearchedTop &top : m_records->tops)
            tops.push_back(top.text);
    SearchedLine->setText(displayPath(search::searchedFoldersText(tops)));
    SearchedLine->setToolTip(SearchedLine->text());
    SearchedLine->setVisible(!SearchedLine->text().isEmpty());
    fillList({});
    ListBox1->scrollToTop(); // a new list is read from its first line
    DateienLschen1->setEnabled(false);
}

void TSuchergebnis::fillList(const results::Marks &marks)
{
    m_applyingMarks = true;
    ListBox1->clear();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(m_lines.size()));
    for (const std::string &line : m_lines)
        shown.append(displayPath(line));
    ListBox1->addItems(shown);
    m_applyingMarks = false;
    setMarks(marks);
    showMarkedSpace();
}

bool TSuchergebnis::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListBox1->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                if (type == QEvent::MouseButtonPress)
                    m_menuRow = ListBox1->indexAt(mouse->position().toPoint()).row();
                return true;
            }
        }
        if (type == QEvent::ToolTip) {
            // The whole path of the line under the pointer, above the window's own hint.
            const auto *help = static_cast<QHelpEvent *>(event);
            const QListWidgetItem *item = ListBox1->itemAt(help->pos());
            if (item != nullptr && !item->text().isEmpty()) {
                QToolTip::showText(
                    help->globalPos(), item->text() + QStringLiteral("\n") + ListBox1->toolTip(), ListBox1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSuchergebnis::setDocument(results::FormattedDocument document)
{
    m_document = std::move(document);
    renderDocument(*RichEdit1->document(), m_document, RichEdit1->font().family());
    RichEdit1->moveCursor(QTextCursor::Start);
}

bool TSuchergebnis::formattedViewShown() const
{
    return m_views->currentWidget() == RichEdit1;
}

void TSuchergebnis::FListe()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QDateTime now = QDateTime::currentDateTime();
    setDocument(results::FListe(m_lines, listKind, utf8(shortDateText(now.date())), utf8(longTimeText(now.time()))));
    RichEdit1->setFocusPolicy(Qt::StrongFocus);
    ListBox1->setFocusPolicy(Qt::ClickFocus);
    QApplication::restoreOverrideCursor();
}

// Building the formatted list ends the naming of a deletion log: what is saved from the
// formatted view is now the list.
void TSuchergebnis::ListeFormatieren1Click()
{
    if (results::deletionLogPrepared(SaveDialog1))
        SaveDialog1.title.clear();
    FListe();

    showFormattedView();
}

void TSuchergebnis::showFormattedView()
{
    RichEdit1->setFocusPolicy(Qt::StrongFocus);
    ListBox1->setFocusPolicy(Qt::ClickFocus);
    m_views->setCurrentWidget(RichEdit1);
    if (isVisible())
        RichEdit1->setFocus();
}

// Back to the simple view. Clearing the save dialog's title ends the naming of a deletion
// log; the formatted document, the list and the marks stay as they are.
void TSuchergebnis::ZurckzuListe1Click()
{
    SaveDialog1.title.clear();
    switchToSimpleView();
}

void TSuchergebnis::switchToSimpleView()
{
    RichEdit1->setFocusPolicy(Qt::ClickFocus);
    ListBox1->setFocusPolicy(Qt::StrongFocus);
    m_views->setCurrentWidget(ListBox1);
    if (isVisible())
        ListBox1->setFocus();
}

void TSuchergebnis::Schlieen1Click()
{
    close();
}

// Closing hides the window; it keeps its list, marks and caption and opens in the simple
// view the next time.
void TSuchergebnis::closeEvent(QCloseEvent *event)
{
    ZurckzuListe1Click();
    event->accept();
}

} // namespace kw::ui
