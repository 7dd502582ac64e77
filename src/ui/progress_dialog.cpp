#include "ui/progress_dialog.h"

#include "ui/search_animation.h"

#include <QCloseEvent>
#include <QLabel>

namespace kw::ui
{

TMeldung::TMeldung(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Meldung"));
    setWindowTitle(QStringLiteral("Meldung"));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    setFixedSize(249, 93);
    setModal(false);

    Label1 = new QLabel(this);
    Label1->setGeometry(0, 8, 249, 13);
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

// Nothing here for the user to end: the search runs to its end.
void TMeldung::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TMeldung::keyPressEvent(QKeyEvent *event)
{
    event->ignore(); // not even Escape closes it
}

} // namespace kw::ui
