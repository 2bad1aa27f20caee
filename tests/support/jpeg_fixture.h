#pragma once

#include "web/bytes.h"

namespace pagora::testing {

// A real baseline JPEG of the given size (colour, a gradient varied by `seed`
// so that pages differ), encoded with libjpeg. A grain above 0 lays noise of
// that strength over the gradient, so the file is as large as a scanned page
// (about 100 to 200 KB at 1000 x 1414 with a grain of 6 to 12).
Bytes make_jpeg(int width, int height, int seed = 0, int grain = 0);

} // namespace pagora::testing
