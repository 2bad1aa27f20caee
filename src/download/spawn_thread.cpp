#include "download/spawn_thread.h"

#include <system_error>
#include <utility>

namespace pagora {

std::thread::id spawn_thread(std::function<void()> routine)
{
    try {
        std::thread thread(std::move(routine));
        const auto id = thread.get_id();
        thread.detach();
        return id;
    } catch (const std::system_error&) {
        return {};
    }
}

} // namespace pagora
