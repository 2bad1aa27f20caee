#pragma once

namespace pagora {

// Position of the progress bar after page `page` of `count`: (page / count) x 100
// in double, quotient first, truncated toward zero (page 29 of 100 gives 28).
// 0 when count is 0; otherwise as computed, held within the range of int.
int progress_position(int page, int count);

} // namespace pagora
