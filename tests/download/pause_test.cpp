#include "download/pause.h"
#include "download/thread_messages.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace pagora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(PauseDueTime, IsANegative64BitSpanIn100NanosecondSteps)
{
    struct Case {
        int interval, unit;
        std::int64_t due;
    };
    const Case cases[] = {
        {10, millisecond, -100000},
        {2, second, -20000000},
        {3, minute, -1800000000},
        {1, hour, -36000000000},         // beyond 32 bits
        {1000, hour, -36000000000000},
        {7, 9, -70000},                  // an unknown unit counts as milliseconds
        {0, millisecond, 0},
        {-5, millisecond, 50000},        // not a span: due at once
        {std::numeric_limits<int>::max(), hour, std::numeric_limits<std::int64_t>::min()}, // held at the limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(pause_due_time(c.interval, c.unit), c.due) << c.interval << " in unit " << c.unit;
    EXPECT_EQ(pause_due_time(10), -100000) << "the unit defaults to milliseconds";
}

TEST(PausePumpingEvents, LastsAtLeastTheIntervalAndReturnsTrue)
{
    for (int interval : {10, 30}) {
        const auto start = Clock::now();
        EXPECT_TRUE(pause_pumping_events(interval));
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(interval));
    }
}

TEST(PausePumpingEvents, ZeroOrNegativeIntervalReturnsPromptly)
{
    const auto start = Clock::now();
    EXPECT_TRUE(pause_pumping_events(0));
    EXPECT_TRUE(pause_pumping_events(-1, hour));
    EXPECT_LT(Clock::now() - start, 1s);
}

TEST(PausePumpingEvents, DispatchesOnItsOwnThreadWhatIsPostedMeanwhile)
{
    const auto queue = MessageQueue::of_current_thread();
    const auto pausing_thread = std::this_thread::get_id();
    std::atomic<int> dispatched{0};
    std::atomic<bool> on_pausing_thread{false};

    std::thread poster([&] {
        std::this_thread::sleep_for(30ms);
        queue->post([&] {
            on_pausing_thread = std::this_thread::get_id() == pausing_thread;
            ++dispatched;
        });
    });
    const auto start = Clock::now();
    pause_pumping_events(150);
    const auto paused = Clock::now() - start;
    poster.join();

    EXPECT_EQ(dispatched.load(), 1) << "the message was not dispatched before the pause ended";
    EXPECT_TRUE(on_pausing_thread.load());
    EXPECT_GE(paused, 150ms) << "a message must not end the pause early";
}

TEST(MessageQueue, DispatchRunsWhatWaitsInOrderButNotWhatItPostsMeanwhile)
{
    const auto queue = MessageQueue::of_current_thread();
    std::string order;
    queue->post([&] { order += 'a'; });
    queue->post([&] {
        order += 'b';
        queue->post([&] { order += 'c'; }); // waits for the next dispatch
    });
    dispatch_pending_messages();
    EXPECT_EQ(order, "ab");
    dispatch_pending_messages();
    EXPECT_EQ(order, "abc");
}

} // namespace
} // namespace pagora
