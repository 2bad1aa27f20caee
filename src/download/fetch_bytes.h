#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

namespace pagora {

// One GET of an address, the body returned as bytes whatever the status; the
// bytes received so far when the transfer breaks off; empty bytes when nothing
// arrived (an empty or non-http(s) address, no connection, an empty body).
// HTTP/1.0, never through a proxy, never from a cache, redirects followed (to
// http and https only), certificates checked for https. The transfer limits
// of web/transfer_limits.h apply: a body is cut at their cap.
Bytes fetch_bytes(const GbkText& address);

// The same fetch, also telling whether the response arrived whole (whatever
// its status): false when the transfer broke off, stalled or reached the cap,
// with the bytes so far as the body. A page image cut short would otherwise
// be placed as if it were whole.
struct FetchResult {
    Bytes body;
    bool complete = false;
};
FetchResult fetch_checked(const GbkText& address);

} // namespace pagora
