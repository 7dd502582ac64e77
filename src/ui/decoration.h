// The main window's decoration: the version label with its light shadow and the small label
// rotated along the right edge.
#pragma once

#include <QLabel>
#include <QWidget>

namespace kw::ui
{

// Grey text with a light shadow one pixel down and right.
class ShadowLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShadowLabel)
public:
    explicit ShadowLabel(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Small grey text running from the bottom upwards.
class VerticalLabel : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VerticalLabel)
public:
    explicit VerticalLabel(const QString &text, QWidget *parent = nullptr);
    QString text() const { return m_text; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

// An invisible area that can be clicked, laid over another widget.
class ClickArea : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClickArea)
public:
    explicit ClickArea(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kw::ui
