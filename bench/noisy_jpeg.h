#pragma once

#include "web/bytes.h"

namespace pagora::bench {

// A baseline JPEG that is as large as a scanned magazine page: a coloured
// gradient under fine noise, so the encoder cannot squeeze it to a few KB. The
// seed varies both the picture and its size (about 100 to 200 KB at 1000 x 1414).
Bytes make_noisy_jpeg(int width, int height, unsigned seed);

} // namespace pagora::bench
