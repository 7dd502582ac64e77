#include "ui/action_progress.h"

#include "ui/off_thread.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace kw::ui
{

ActionProgress::ActionProgress(
    QWidget *parent, const QString &caption, std::function<QString(std::size_t, std::size_t)> text, std::size_t count)
    : QDialog(parent), m_text(std::move(text)), m_count(count)
{
    setObjectName(QStringLiteral("ActionProgress"));
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    line = new QLabel(this);
    line->setMinimumWidth(320);
    cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    layout->addWidget(line);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_cancel.store(true);
        cancel->setEnabled(false); // what has begun is finished first
    });
    showProgress();
}

void ActionProgress::showProgress()
{
    line->setText(m_text(m_done.load(), m_count));
}

std::size_t ActionProgress::run(const std::function<void(std::size_t)> &work)
{
    std::exception_ptr failure;
    const auto body = [&] {
        try {
            for (std::size_t i = 0; i < m_count && !m_cancel.load(); ++i) {
                work(i);
                m_done.fetch_add(1);
            }
        } catch (...) {
            failure = std::current_exception();
        }
    };
    // Modal: the other windows paint but take no input while files are on their way.
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); // shown before it starts
    QTimer refresh;
    refresh.setInterval(100);
    connect(&refresh, &QTimer::timeout, this, &ActionProgress::showProgress);
    refresh.start();
    runOffTheWindowThread(body);
    refresh.stop();
    showProgress();
    hide();
    if (failure)
        std::rethrow_exception(failure);
    return m_done.load();
}

void ActionProgress::reject()
{
    cancel->click();
}

void ActionProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
    cancel->click();
}

} // namespace kw::ui
