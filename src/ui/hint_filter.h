// How hints are shown in every window: each "@" is a line break, and a hint that would start
// within 10 pixels of the screen's bottom edge is moved up.
#pragma once

#include <QObject>

namespace kw::ui
{

class HintFilter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HintFilter)
public:
    explicit HintFilter(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_screenHeight; // taken once, when the program starts
};

} // namespace kw::ui
