#include "app/gui_thread_caller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace pagora {

// Lives on the GUI thread and runs the queued work when it is told to. Only an
// empty event crosses Qt's queue: the work itself, and everything it refers
// to, passes through our own mutex, so every hand-over of our data between
// threads is one the thread sanitizer can see (it cannot see inside Qt).
class GuiThreadCaller::Pump final : public QObject {
public:
    Pump(std::shared_ptr<Shared> shared, QObject* parent) : QObject(parent), shared_(std::move(shared)) {}

    static QEvent::Type drain_event()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != drain_event()) return QObject::event(event);
        while (true) {
            std::function<void()> work;
            {
                std::lock_guard lock(shared_->mutex);
                if (shared_->shut_down || shared_->queue.empty()) return true;
                work = std::move(shared_->queue.front());
                shared_->queue.pop_front();
            }
            work();
        }
    }

private:
    std::shared_ptr<Shared> shared_;
};

GuiThreadCaller::GuiThreadCaller(QObject* gui_object)
{
    shared_->pump = new Pump(shared_, gui_object);
    // Queued work dies with the object it was sent to: then nobody would ever
    // wake its waiter.
    QObject::connect(gui_object, &QObject::destroyed, [shared = shared_] {
        std::lock_guard lock(shared->mutex);
        shared->pump = nullptr;
        shared->shut_down = true;
        shared->queue.clear();
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
    shared_->queue.clear();
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
    auto shared = shared_;
    auto call = std::make_shared<Call>();
    Done done = [shared, call] {
        std::lock_guard lock(shared->mutex);
        call->done = true;
        shared->changed.notify_all();
    };

    std::unique_lock lock(shared->mutex);
    if (shared->pump == nullptr || shared->shut_down) return false;

    if (QThread::currentThread() == shared->pump->thread()) {
        lock.unlock();
        start(done);
        // Work that finishes later (a message box) needs the events meanwhile.
        while (true) {
            {
                std::lock_guard relock(shared->mutex);
                if (call->done) return true;
                if (shared->shut_down) return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    // Only the shared state is captured: the waiter may have returned by the
    // time the GUI thread gets to the work. Posting under the lock keeps the
    // pump from being destroyed meanwhile (its destruction takes the lock).
    shared->queue.push_back([start = std::move(start), done] { start(done); });
    QCoreApplication::postEvent(shared->pump, new QEvent(Pump::drain_event()));
    shared->changed.wait(lock, [&] { return call->done || shared->shut_down; });
    return call->done;
}

} // namespace pagora
