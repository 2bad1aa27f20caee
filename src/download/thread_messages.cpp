#include "download/thread_messages.h"

#include <utility>

namespace pagora {

std::shared_ptr<MessageQueue> MessageQueue::of_current_thread()
{
    thread_local const auto queue = std::make_shared<MessageQueue>();
    return queue;
}

void MessageQueue::post(Message message)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(message));
    }
    posted_.notify_all();
}

void MessageQueue::dispatch_pending()
{
    std::deque<Message> taken;
    {
        std::lock_guard lock(mutex_);
        taken.swap(pending_);
    }
    for (auto& message : taken)
        if (message) message();
}

bool MessageQueue::wait_until(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    return posted_.wait_until(lock, deadline, [&] { return !pending_.empty(); });
}

void dispatch_pending_messages()
{
    MessageQueue::of_current_thread()->dispatch_pending();
}

} // namespace pagora
