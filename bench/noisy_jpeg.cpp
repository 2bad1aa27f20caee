#include "noisy_jpeg.h"

#include "jpeg_fixture.h"

namespace pagora::bench {

Bytes make_noisy_jpeg(int width, int height, unsigned seed)
{
    // The grain sets the file size; vary it from page to page.
    const int grain = 6 + static_cast<int>(seed % 7); // 6 to 12
    return testing::make_jpeg(width, height, static_cast<int>(seed), grain);
}

} // namespace pagora::bench
