#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

#include <cstddef>

namespace pagora {

// Most that one fetch keeps: a server that sends without end cannot exhaust
// memory; the transfer stops there and the bytes up to the cap are returned.
inline constexpr std::size_t max_fetch_bytes = std::size_t(256) << 20; // 256 MiB

// One GET of an address, the body returned as bytes whatever the status; the
// bytes received so far when the transfer breaks off; empty bytes when nothing
// arrived (an empty or non-http(s) address, no connection, an empty body).
// HTTP/1.0, never through a proxy, never from a cache, redirects followed (to
// http and https only), certificates checked for https.
Bytes fetch_bytes(const GbkText& address, std::size_t max_bytes = max_fetch_bytes);

} // namespace pagora
