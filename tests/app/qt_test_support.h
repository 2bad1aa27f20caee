#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QElapsedTimer>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace pagora::testing {

// Processes the GUI thread's events until `condition` holds or the time is up.
inline bool process_events_until(const std::function<bool()>& condition,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The message box that is open now, if any.
inline QMessageBox* open_message_box()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

// A worker thread like a download worker: detached, so a worker that hangs
// fails its test instead of hanging the whole run.
template <typename Result>
class Worker {
public:
    explicit Worker(std::function<Result()> work)
    {
        std::packaged_task<Result()> task(std::move(work));
        result_ = task.get_future();
        std::thread(std::move(task)).detach();
    }
    bool finished() const { return result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }
    // Waits without processing events: the GUI thread stays busy meanwhile.
    bool wait_blocking(std::chrono::milliseconds timeout)
    {
        return result_.wait_for(timeout) == std::future_status::ready;
    }
    // Waits while the GUI thread goes on processing events.
    bool wait_processing_events(std::chrono::milliseconds timeout = std::chrono::seconds(10))
    {
        return process_events_until([this] { return finished(); }, timeout);
    }
    Result get() { return result_.get(); }

private:
    std::future<Result> result_;
};

} // namespace pagora::testing
