#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace pagora {

// A queue of messages for one thread. Any thread may post to it; only the
// owning thread dispatches, so a message always runs on the thread it was
// posted to.
class MessageQueue {
public:
    using Message = std::function<void()>;

    // The queue of the calling thread, made on first use. Keep the pointer to
    // post to this thread from others.
    static std::shared_ptr<MessageQueue> of_current_thread();

    void post(Message message);
    // Runs the messages waiting now, in the order they were posted. Messages
    // posted while these run wait for the next dispatch, so a message that
    // posts itself again cannot keep the caller here for ever.
    void dispatch_pending();
    // Sleeps until a message waits or the deadline passes; true when a message
    // waits.
    bool wait_until(std::chrono::steady_clock::time_point deadline);

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Message> pending_;
};

// Dispatches the messages waiting for the calling thread.
void dispatch_pending_messages();

} // namespace pagora
