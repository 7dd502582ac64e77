#include "ui/window_geometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace kw::ui
{

shell::Rect outerRect(QWidget *window)
{
    window->winId();
    const QRect frame = window->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

shell::Rect screenRect(const QWidget *window)
{
    const QScreen *screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

void moveOuter(QWidget *window, shell::Point corner)
{
    window->move(corner.x, corner.y); // move() places the frame of a top-level window
}

namespace
{

// Waits for the window's first showing, then for its frame, and places it once more.
class FramePlacer final : public QObject
{
public:
    FramePlacer(QWidget *window, std::function<shell::Point(const shell::Rect &)> corner)
        : QObject(window), m_window(window), m_corner(std::move(corner))
    {
        setObjectName(QStringLiteral("FramePlacer"));
        window->installEventFilter(this);
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, &FramePlacer::check);
        if (window->isVisible())
            m_poll.start();
    }
    void setCorner(std::function<shell::Point(const shell::Rect &)> corner) { m_corner = std::move(corner); }
    void setOnFrameKnown(std::function<void()> onFrameKnown) { m_onFrameKnown = std::move(onFrameKnown); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && !m_poll.isActive())
            m_poll.start();
        return false;
    }

private:
    void check()
    {
        // A platform without frames (offscreen, some Wayland shells) never shows one; three
        // seconds are long enough for any window manager, also on a busy machine.
        const bool framed = m_window->frameGeometry() != m_window->geometry();
        if (!framed && ++m_ticks < 300)
            return;
        m_poll.stop();
        if (m_onFrameKnown)
            m_onFrameKnown();
        moveOuter(m_window, m_corner(outerRect(m_window)));
        deleteLater();
    }

    QWidget *m_window;
    std::function<shell::Point(const shell::Rect &)> m_corner;
    std::function<void()> m_onFrameKnown;
    QTimer m_poll;
    int m_ticks = 0;
};

} // namespace

void placeOuter(
    QWidget *window, std::function<shell::Point(const shell::Rect &outer)> corner, std::function<void()> onFrameKnown)
{
    moveOuter(window, corner(outerRect(window)));
    if (auto *placer = window->findChild<FramePlacer *>(QStringLiteral("FramePlacer"), Qt::FindDirectChildrenOnly)) {
        placer->setCorner(std::move(corner));
        if (onFrameKnown)
            placer->setOnFrameKnown(std::move(onFrameKnown));
        return;
    }
    if (window->property("kwFrameKnown").toBool())
        return;
    window->setProperty("kwFrameKnown", true); // after this one, frames are known
    auto *placer = new FramePlacer(window, std::move(corner));
    placer->setOnFrameKnown(std::move(onFrameKnown));
}

} // namespace kw::ui
