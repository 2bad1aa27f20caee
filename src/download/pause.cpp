#include "download/pause.h"

#include "download/thread_messages.h"

#include <chrono>
#include <algorithm>
#include <cmath>
#include <limits>

namespace pagora {
namespace {

double milliseconds_per_unit(int time_unit)
{
    switch (time_unit) {
    case second: return 1000.0;
    case minute: return 60000.0;
    case hour: return 3600000.0;
    default: return 1.0;
    }
}

// Deadline for a relative due time, saturated so that an absurdly long pause
// cannot overflow the clock's arithmetic.
std::chrono::steady_clock::time_point deadline_after(std::int64_t due_time)
{
    using Steps = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    const auto now = std::chrono::steady_clock::now();
    if (due_time >= 0) return now; // not a span from now: already due
    const std::int64_t longest =
        std::chrono::duration_cast<Steps>(std::chrono::steady_clock::time_point::max() - now).count() / 2;
    const std::int64_t steps = due_time == std::numeric_limits<std::int64_t>::min() ? longest
                                                                                   : std::min(-due_time, longest);
    return now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(Steps(steps));
}

} // namespace

std::int64_t pause_due_time(int interval, int time_unit)
{
    const double due = std::trunc(static_cast<double>(interval) * milliseconds_per_unit(time_unit) * -10000.0);
    constexpr double limit = 9.2e18; // just inside the range of int64
    if (due <= -limit) return std::numeric_limits<std::int64_t>::min();
    if (due >= limit) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(due);
}

bool pause_pumping_events(int interval, int time_unit)
{
    const auto deadline = deadline_after(pause_due_time(interval, time_unit));
    const auto queue = MessageQueue::of_current_thread();
    // The clock is checked after every dispatch, so even a steady stream of
    // messages cannot keep the caller here past the deadline.
    while (queue->wait_until(deadline)) {
        queue->dispatch_pending();
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
    return true;
}

} // namespace pagora
