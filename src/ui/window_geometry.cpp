#include "ui/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kw::ui
{

search::Rect outerRect(QWidget *window)
{
    window->winId();
    const QRect frame = window->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

search::Rect screenRect(const QWidget *window)
{
    const QScreen *screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

void moveOuter(QWidget *window, search::Point corner)
{
    window->move(corner.x, corner.y); // move() places the frame of a top-level window
}

} // namespace kw::ui
