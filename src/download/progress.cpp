#include "download/progress.h"

#include <climits>
#include <cmath>

namespace pagora {

int progress_position(int page, int count)
{
    if (count == 0) return 0;
    const double quotient = static_cast<double>(page) / static_cast<double>(count);
    const double position = std::trunc(quotient * 100.0);
    if (position >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (position <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(position);
}

} // namespace pagora
