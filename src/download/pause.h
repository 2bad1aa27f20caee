#pragma once

#include <cstdint>

namespace pagora {

// Units of a pause: the multiplier to milliseconds is 1, 1000, 60000, 3600000.
enum TimeUnit : int { millisecond = 0, second = 1, minute = 2, hour = 3 };

// The due time of a pause in 100-nanosecond steps; negative means a span from
// now. interval x multiplier x -10000, computed in double and truncated toward
// zero; held at the limits of 64 bits. An unknown unit counts as milliseconds.
std::int64_t pause_due_time(int interval, int time_unit = millisecond);

// Waits for the interval on the steady clock while dispatching the messages
// posted to the calling thread; a zero or negative interval only dispatches
// what waits. Always true.
bool pause_pumping_events(int interval, int time_unit = millisecond);

} // namespace pagora
