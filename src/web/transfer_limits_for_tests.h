#pragma once

#include "web/transfer_limits.h"

namespace pagora {

// For tests only: replaces the limits of every transfer started from now on.
void set_transfer_limits(const TransferLimits& limits);

// Sets limits for the lifetime of a test and restores the defaults after it.
class ScopedTransferLimits {
public:
    explicit ScopedTransferLimits(const TransferLimits& limits) { set_transfer_limits(limits); }
    ~ScopedTransferLimits() { set_transfer_limits(TransferLimits{}); }
    ScopedTransferLimits(const ScopedTransferLimits&) = delete;
    ScopedTransferLimits& operator=(const ScopedTransferLimits&) = delete;
};

} // namespace pagora
