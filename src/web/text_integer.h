#pragma once

#include "web/gbk_text.h"

namespace pagora {

// Reads a text as an integer the way every number box and port is read:
// full-width digits, signs and spaces count as their half-width forms, leading
// white space is skipped, an optional sign and the digits after it make the
// value, whatever follows is ignored, and a text that does not begin with a
// number reads as 0. A value beyond the range of int is held at its limit
// instead of wrapping round.
int read_integer(const GbkText& text);

} // namespace pagora
