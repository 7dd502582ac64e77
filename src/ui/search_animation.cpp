#include "ui/search_animation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace kw::ui
{

SearchAnimation::SearchAnimation(Clip clip, QWidget *parent) : QWidget(parent), m_clip(clip)
{
    setFixedSize(clip == Clip::FindFolder ? QSize(80, 50) : QSize(48, 50));
    m_timer.setInterval(66); // about fifteen frames a second
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = m_frame >= lastFrame() ? 0 : m_frame + 1;
        update();
    });
}

void SearchAnimation::play()
{
    m_frame = 0;
    m_timer.start();
    update();
}

void SearchAnimation::stop()
{
    m_timer.stop();
}

void SearchAnimation::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double phase = 2 * std::numbers::pi * m_frame / (lastFrame() + 1);
    if (m_clip == Clip::FindFolder) {
        drawFolder(painter, QRectF(4, 16, 30, 22));
        drawFolder(painter, QRectF(46, 16, 30, 22));
        drawGlass(painter, QPointF(40 + 26 * std::sin(phase), 24 + 5 * std::cos(2 * phase)));
    } else {
        drawSheet(painter, QRectF(8, 4, 28, 38));
        drawGlass(painter, QPointF(24 + 10 * std::sin(phase), 22 + 10 * std::cos(phase)));
    }
}

void SearchAnimation::drawFolder(QPainter &painter, QRectF box) const
{
    QPainterPath tab;
    tab.addRoundedRect(QRectF(box.left(), box.top() - 4, box.width() * 0.45, 8), 2, 2);
    painter.setPen(QPen(QColor(150, 110, 20), 1));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawPath(tab);
    painter.drawRoundedRect(box, 2, 2);
}

void SearchAnimation::drawSheet(QPainter &painter, QRectF box) const
{
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    for (double y = box.top() + 7; y < box.bottom() - 4; y += 5)
        painter.drawLine(QPointF(box.left() + 4, y), QPointF(box.right() - 4, y));
}

void SearchAnimation::drawGlass(QPainter &painter, QPointF centre) const
{
    painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(6, 6), centre + QPointF(13, 13));
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(QColor(200, 230, 255, 160));
    painter.drawEllipse(centre, 8, 8);
}

} // namespace kw::ui
