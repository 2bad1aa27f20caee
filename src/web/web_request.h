#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

#include <cstdint>
#include <optional>

namespace pagora {

// The optional arguments of one web request. The in/out and out members are
// written back here; a caller that does not need them leaves them alone.
struct WebRequestArguments {
    // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT;
    // any other value means GET.
    int verb_index = 0;
    // The request body as text, used when body_bytes is empty.
    GbkText body_text;
    // In/out. Present (even empty): sent in a "Cookie" line, the cookie store
    // is off for this request, and the received cookies are merged into it.
    std::optional<GbkText> cookies_to_send;
    // Out: the response's "Set-Cookie" values, merged when that applies.
    GbkText cookies_received;
    // In/out: further header lines separated by CR LF; afterwards the whole
    // header text that was sent.
    GbkText extra_headers;
    // Out: the final response's raw header block, or 5000 spaces when none
    // arrived or it did not fit in 4999 bytes.
    GbkText raw_response_headers;
    // Redirects are not followed.
    bool block_redirect = false;
    // In/out: the request body; for a verb other than GET, when empty it
    // receives the bytes of body_text.
    Bytes body_bytes;
    // Empty: a direct connection.
    GbkText proxy_server;
    bool merge_received_cookies = true;
};

// Sends one HTTP request and returns the response body, whatever the status;
// the bytes received so far when the transfer breaks off; empty bytes when
// the request could not be set up or nothing was received. Never throws.
Bytes web_request(const GbkText& target_url, WebRequestArguments& arguments);
// The same with every optional argument absent: a GET.
Bytes web_request(const GbkText& target_url);

// The steps that decide what the request looks like, apart so they can be
// checked on their own.
namespace web_request_steps {

inline constexpr const char* default_agent_name = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
inline constexpr int raw_header_buffer_size = 5000;
inline constexpr int read_chunk_size = 1024;

GbkText verb(int verb_index);
// True when the first eight bytes, lower-cased, are "https://".
bool is_secure_address(const GbkText& target_url);
GbkText agent_name(const GbkText& extra_headers);
// The proxy for every scheme of an https address, for http only otherwise.
GbkText proxy_text(const GbkText& proxy_server, bool secure);
std::uint32_t request_flags(bool cookies_present, bool block_redirect, bool secure);
// The caller's header text completed with accept, referrer, language,
// content type (POST) and cookie lines it lacks.
GbkText compose_headers(GbkText extra_headers, const GbkText& target_url, int verb_index,
                        const std::optional<GbkText>& cookies_to_send);

} // namespace web_request_steps

} // namespace pagora
