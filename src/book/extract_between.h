#pragma once

#include "web/gbk_text.h"

namespace pagora {

// The bytes between the first left marker in source and the first right marker
// after it; empty when either is missing. Only the first left marker counts.
GbkText extract_between(const GbkText& source, const GbkText& left_marker,
                        const GbkText& right_marker);

} // namespace pagora
