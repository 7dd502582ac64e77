#include "ui/hint_filter.h"

#include "shell/hint_placement.h"
#include "ui/hints.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

namespace kw::ui
{
namespace
{

// Where Qt puts a hint below the mouse pointer.
constexpr int kHintBelowPointer = 16;

} // namespace

HintFilter::HintFilter(QObject *parent)
    : QObject(parent)
    , m_screenHeight(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().height() : 0)
{
}

bool HintFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || widget->toolTip().isEmpty())
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    QPoint at = help->globalPos();
    const int top = shell::hintTop(at.y() + kHintBelowPointer, m_screenHeight);
    at.setY(top - kHintBelowPointer);
    QToolTip::showText(at, hintText(widget->toolTip()), widget);
    return true;
}

} // namespace kw::ui
