#include "ui/progress_dialog.h"

#include "ui/search_animation.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace kw::ui
{

// A title bar and the close button, which stops the search: nothing to make small or large,
// for a minimised dialog would leave a blocked main window without any sign of progress.
TMeldung::TMeldung(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Meldung"));
    setWindowTitle(QStringLiteral("Meldung"));
    setFixedSize(249, 93);
    setModal(false);

    Label1 = new QLabel(this);
    // As high as the font needs: "gefunden" keeps its descenders.
    Label1->setGeometry(0, 8, 249, std::max(13, Label1->fontMetrics().height()));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Animate1 = new SearchAnimation(SearchAnimation::Clip::FindFolder, this);
    Animate1->move(85, 40);
    Animate1->hide();
    Animate2 = new SearchAnimation(SearchAnimation::Clip::FindFile, this);
    Animate2->move(101, 40);
    Animate2->hide();
}

void TMeldung::showFolderSearch()
{
    Animate2->stop();
    Animate2->hide();
    Animate1->show();
    Animate1->play();
}

void TMeldung::showFileSearch()
{
    Animate1->stop();
    Animate1->hide();
    Animate2->show();
    Animate2->play();
}

void TMeldung::setStatus(const QString &text)
{
    if (Label1->text() != text)
        Label1->setText(text);
}

// Closing the dialog or Escape asks the search to stop; the dialog goes when it has.
void TMeldung::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit cancelRequested();
}

void TMeldung::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        emit cancelRequested();
    event->accept();
}

void TMeldung::reject()
{
    emit cancelRequested(); // Escape through the dialog's own handling
}

} // namespace kw::ui
