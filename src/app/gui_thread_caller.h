#pragma once

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace pagora {

// Runs work on the GUI thread for a caller on any thread and waits until it is
// done, like a blocking queued call, except that every waiter wakes and returns
// at once when the caller is shut down. A blocking queued call into an event
// loop that has stopped would wait for ever; this one cannot hang the end of
// the program.
class GuiThreadCaller {
public:
    // Called on the GUI thread when the work is over; may be called later, from
    // a signal, and more than once.
    using Done = std::function<void()>;

    // gui_object lives on the GUI thread; the work is delivered to it.
    explicit GuiThreadCaller(QObject* gui_object);
    ~GuiThreadCaller();
    GuiThreadCaller(const GuiThreadCaller&) = delete;
    GuiThreadCaller& operator=(const GuiThreadCaller&) = delete;

    // Runs work on the GUI thread and returns when it has run: true, or false
    // when the caller was shut down first and the work did not run.
    bool run(std::function<void()> work);
    // Starts work on the GUI thread and returns when it calls its Done (true), or
    // as soon as the caller is shut down (false).
    bool run_until_done(std::function<void(Done)> start);

    // From now on, nothing more runs and every waiter returns. Call on the GUI
    // thread.
    void shut_down();
    bool is_shut_down() const;

private:
    class Pump;
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool shut_down = false;
        std::deque<std::function<void()>> queue; // work waiting for the GUI thread
        Pump* pump = nullptr;                    // null once the GUI object is gone
    };
    struct Call {
        bool done = false;
    };

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

} // namespace pagora
