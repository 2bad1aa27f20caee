#pragma once

#include <chrono>
#include <cstddef>

namespace pagora {

// How long one HTTP transfer may wait and how much of a response it keeps.
// The program always runs with the defaults; tests shorten them through
// web/transfer_limits_for_tests.h so that stalls can be checked in seconds.
struct TransferLimits {
    std::chrono::milliseconds connect_timeout{60'000};
    // The transfer ends when no byte arrived for so long (whole seconds).
    std::chrono::seconds stall_timeout{30};
    // The longest a whole transfer may take, so a server that trickles a
    // byte now and then cannot hold the caller (the window's thread, during
    // a book load) for ever. The transfer ends there, keeping what came.
    std::chrono::milliseconds total_timeout{10 * 60'000};
    // Most body bytes a web request keeps; a server that sends without end
    // cannot exhaust memory. The transfer ends there, keeping what came.
    std::size_t max_body_bytes = std::size_t(256) << 20;
};

// The limits in force now.
TransferLimits transfer_limits();

} // namespace pagora
