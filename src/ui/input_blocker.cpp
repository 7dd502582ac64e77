#include "ui/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace kw::ui
{

InputBlocker::InputBlocker(std::vector<QWidget *> windows) : m_windows(std::move(windows))
{
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    qApp->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (widget == nullptr)
        return false;
    const QWidget *window = widget->window();
    if (std::find(m_windows.begin(), m_windows.end(), window) == m_windows.end())
        return false;
    event->ignore();
    return true;
}

} // namespace kw::ui
