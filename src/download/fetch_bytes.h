#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

namespace pagora {

// One GET of an address, the body returned as bytes whatever the status; the
// bytes received so far when the transfer breaks off; empty bytes when nothing
// arrived (an empty or non-http(s) address, no connection, an empty body).
Bytes fetch_bytes(const GbkText& address);

} // namespace pagora
