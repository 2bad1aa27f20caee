#pragma once

#include "web/bytes.h"

namespace pagora::testing {

// A real baseline JPEG of the given size (colour, a gradient varied by `seed`
// so that pages differ), encoded with libjpeg.
Bytes make_jpeg(int width, int height, int seed = 0);

} // namespace pagora::testing
