#include "web/transfer_limits.h"

#include "web/transfer_limits_for_tests.h"

#include <mutex>

namespace pagora {
namespace {

std::mutex limits_mutex;
TransferLimits current_limits;

} // namespace

TransferLimits transfer_limits()
{
    std::lock_guard lock(limits_mutex);
    return current_limits;
}

void set_transfer_limits(const TransferLimits& limits)
{
    std::lock_guard lock(limits_mutex);
    current_limits = limits;
}

} // namespace pagora
