#include "app/gui_thread_caller.h"

#include <QCoreApplication>
#include <QThread>

namespace pagora {

GuiThreadCaller::GuiThreadCaller(QObject* gui_object) : gui_object_(gui_object)
{
    // Queued work dies with the object it was sent to: then nobody would ever
    // wake its waiter.
    QObject::connect(gui_object, &QObject::destroyed, [shared = shared_] {
        std::lock_guard lock(shared->mutex);
        shared->shut_down = true;
        shared->changed.notify_all();
    });
}

GuiThreadCaller::~GuiThreadCaller()
{
    shut_down();
}

void GuiThreadCaller::shut_down()
{
    std::lock_guard lock(shared_->mutex);
    shared_->shut_down = true;
    shared_->changed.notify_all();
}

bool GuiThreadCaller::is_shut_down() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->shut_down;
}

bool GuiThreadCaller::run(std::function<void()> work)
{
    return run_until_done([work = std::move(work)](const Done& done) {
        work();
        done();
    });
}

bool GuiThreadCaller::run_until_done(std::function<void(Done)> start)
{
    QObject* target = gui_object_.data();
    if (target == nullptr || is_shut_down()) return false;

    auto shared = shared_;
    auto call = std::make_shared<Call>();
    Done done = [shared, call] {
        std::lock_guard lock(shared->mutex);
        call->done = true;
        shared->changed.notify_all();
    };

    if (QThread::currentThread() == target->thread()) {
        start(done);
        // Work that finishes later (a message box) needs the events meanwhile.
        while (true) {
            {
                std::lock_guard lock(shared->mutex);
                if (call->done) return true;
                if (shared->shut_down) return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    // Only the shared state is captured: the waiter may have returned by the
    // time the GUI thread gets to the work.
    QMetaObject::invokeMethod(
        target,
        [shared, start = std::move(start), done] {
            {
                std::lock_guard lock(shared->mutex);
                if (shared->shut_down) return;
            }
            start(done);
        },
        Qt::QueuedConnection);

    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return call->done || shared->shut_down; });
    return call->done;
}

} // namespace pagora
