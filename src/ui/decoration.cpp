#include "ui/decoration.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kw::ui
{

ShadowLabel::ShadowLabel(const QString &text, QWidget *parent) : QLabel(text, parent) { }

void ShadowLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(area.translated(1, 1), static_cast<int>(alignment()), text());
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(area, static_cast<int>(alignment()), text());
}

VerticalLabel::VerticalLabel(const QString &text, QWidget *parent) : QWidget(parent), m_text(text)
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    setFont(small);
}

QSize VerticalLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.height() + 2, metrics.horizontalAdvance(m_text) + 4};
}

void VerticalLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.translate(0, height());
    painter.rotate(-90);
    painter.drawText(QRect(2, 0, height() - 4, width()), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

ClickArea::ClickArea(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
    // Exactly over the widget it lies on, whatever size that takes.
    if (parent != nullptr) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
}

bool ClickArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void ClickArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace kw::ui
