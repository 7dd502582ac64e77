#include "ui/off_thread.h"

#include "search/thread_start.h"

#include <QEventLoop>

#include <optional>
#include <thread>

namespace kw::ui
{

void runOffTheWindowThread(const std::function<void()> &work)
{
    QEventLoop loop;
    std::optional<std::thread> worker = search::tryStartThread([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (!worker) {
        work();
        return;
    }
    loop.exec();
    worker->join();
}

} // namespace kw::ui
