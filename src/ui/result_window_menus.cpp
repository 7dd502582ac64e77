// The result window's two context menus and their keys.
#include "ui/result_window.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTextEdit>

namespace kw::ui
{
namespace
{

// A menu entry whose key acts while `view` has the keyboard focus.
QAction *entry(QMenu *menu, QWidget *view, const QString &text, const QKeySequence &key)
{
    QAction *action = menu->addAction(text);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        view->addAction(action);
    }
    return action;
}

} // namespace

void TSuchergebnis::createMenus()
{
    PopupMenu1 = new QMenu(this);
    ListeFormatieren1
        = entry(PopupMenu1, ListBox1, QStringLiteral("&Liste Formatieren"), QKeySequence(Qt::CTRL | Qt::Key_L));
    PopupMenu1->addSeparator();
    Speichern2 = entry(PopupMenu1, ListBox1, QStringLiteral("Liste &Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S));
    ListeDrucken2 = entry(PopupMenu1, ListBox1, QStringLiteral("Liste &Drucken"), QKeySequence(Qt::CTRL | Qt::Key_D));
    PopupMenu1->addSeparator();
    // Ctrl+D belongs to "Liste &Drucken", the first of the two entries showing it; this one
    // shows the key but is reached through the menu only.
    DuplikateMarkieren1 = entry(PopupMenu1, ListBox1,
        QStringLiteral("&Duplikate Markieren\t")
            + QKeySequence(Qt::CTRL | Qt::Key_D).toString(QKeySequence::NativeText),
        {});
    Markierungsmaske1
        = entry(PopupMenu1, ListBox1, QStringLiteral("Markierungs&maske"), QKeySequence(Qt::CTRL | Qt::Key_M));
    AllesMarkieren1
        = entry(PopupMenu1, ListBox1, QStringLiteral("&Alles Markieren"), QKeySequence(Qt::CTRL | Qt::Key_A));
    PopupMenu1->addSeparator();
    DateienLschen1 = entry(PopupMenu1, ListBox1, QString::fromUtf8("Dateien &Löschen"), QKeySequence(Qt::Key_Delete));
    DateienLschen1->setEnabled(false);
    DurchVerknuepfungErsetzen1 = entry(PopupMenu1, ListBox1, QString::fromUtf8("Durch &Verknüpfung ersetzen…"), {});
    DurchVerknuepfungErsetzen1->setEnabled(false);
    // Enabled while a line is marked, as the deletion is.
    connect(DateienLschen1, &QAction::enabledChanged, DurchVerknuepfungErsetzen1, &QAction::setEnabled);
    PopupMenu1->addSeparator();
    Schlieen1 = entry(PopupMenu1, ListBox1, QString::fromUtf8("Liste &Schließen"), QKeySequence(Qt::ALT | Qt::Key_F4));

    PopupMenu2 = new QMenu(this);
    ZurckzuListe1 = entry(PopupMenu2, RichEdit1, QStringLiteral("Einfache &Liste"), QKeySequence(Qt::CTRL | Qt::Key_L));
    PopupMenu2->addSeparator();
    Speichern1 = entry(PopupMenu2, RichEdit1, QStringLiteral("Liste &Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Drucken1 = entry(PopupMenu2, RichEdit1, QStringLiteral("Liste &Drucken"), QKeySequence(Qt::CTRL | Qt::Key_D));
    PopupMenu2->addSeparator();
    Schlieen2 = entry(PopupMenu2, RichEdit1, QString::fromUtf8("Liste &Schließen"), QKeySequence(Qt::ALT | Qt::Key_F4));

    connect(ListeFormatieren1, &QAction::triggered, this, &TSuchergebnis::ListeFormatieren1Click);
    connect(ZurckzuListe1, &QAction::triggered, this, &TSuchergebnis::ZurckzuListe1Click);
    connect(Schlieen1, &QAction::triggered, this, &TSuchergebnis::Schlieen1Click);
    connect(Schlieen2, &QAction::triggered, this, &TSuchergebnis::Schlieen1Click);

    connect(Speichern2, &QAction::triggered, this, &TSuchergebnis::Speichern2Click);
    connect(Speichern1, &QAction::triggered, this, &TSuchergebnis::Speichern1Click);
    connect(Drucken1, &QAction::triggered, this, &TSuchergebnis::Drucken1Click);
    connect(ListeDrucken2, &QAction::triggered, this, &TSuchergebnis::ListeDrucken2Click);
    connect(AllesMarkieren1, &QAction::triggered, this, &TSuchergebnis::AllesMarkieren1Click);

    connect(DuplikateMarkieren1, &QAction::triggered, this, &TSuchergebnis::DuplikateMarkieren1Click);
    connect(Markierungsmaske1, &QAction::triggered, this, &TSuchergebnis::Markierungsmaske1Click);
    connect(DateienLschen1, &QAction::triggered, this, &TSuchergebnis::DateienLschen1Click);
    connect(DurchVerknuepfungErsetzen1, &QAction::triggered, this, &TSuchergebnis::DurchVerknuepfungErsetzen1Click);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TSuchergebnis::ListBox1Click);
    connect(ListBox1, &QAbstractItemView::doubleClicked, this, &TSuchergebnis::ListBox1DblClick);

    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const int row = ListBox1->indexAt(at).row();
        m_menuRow = row >= 0 ? row : ListBox1->currentRow();
        PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at));
    });
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &at) { PopupMenu2->popup(RichEdit1->viewport()->mapToGlobal(at)); });
}

} // namespace kw::ui
