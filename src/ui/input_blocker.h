// Keeps user input away from some windows while a search runs: the windows go on painting,
// but clicks, keys and close requests do not reach them, as if the search blocked the
// window thread.
#pragma once

#include <QObject>

#include <vector>

class QWidget;

namespace kw::ui
{

class InputBlocker : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InputBlocker)
public:
    explicit InputBlocker(std::vector<QWidget *> windows);
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::vector<QWidget *> m_windows;
};

} // namespace kw::ui
