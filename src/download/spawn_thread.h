#pragma once

#include <functional>
#include <thread>

namespace pagora {

// Runs the routine on a new thread that starts at once and that nothing waits
// for. Returns the new thread's id, or the empty id when no thread could be
// started (the routine then does not run).
std::thread::id spawn_thread(std::function<void()> routine);

} // namespace pagora
