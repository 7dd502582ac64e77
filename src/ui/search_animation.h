// The progress dialog's two looping animations, drawn here: a magnifying glass wandering over
// a row of folders (folder search) and over a sheet of paper (file search).
#pragma once

#include <QTimer>
#include <QWidget>

namespace kw::ui
{

class SearchAnimation : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchAnimation)
public:
    enum class Clip {
        FindFolder, // 80 × 50, 30 frames
        FindFile, // 48 × 50, 24 frames
    };

    SearchAnimation(Clip clip, QWidget *parent = nullptr);

    void play(); // from the first frame, over and over
    void stop();
    bool playing() const { return m_timer.isActive(); }
    int frame() const { return m_frame; }
    int lastFrame() const { return m_clip == Clip::FindFolder ? 29 : 23; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawFolder(QPainter &painter, QRectF box) const;
    void drawSheet(QPainter &painter, QRectF box) const;
    void drawGlass(QPainter &painter, QPointF centre) const;

    Clip m_clip;
    QTimer m_timer;
    int m_frame = 0;
};

} // namespace kw::ui
