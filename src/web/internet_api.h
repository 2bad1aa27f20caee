#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

#include <cstddef>
#include <cstdint>

// A small internet client in the shape of a handle-based internet API: an
// internet handle carries the agent name and the proxy choice, a connection
// handle the host and port, a request handle the verb, path and flags; the
// request is sent, its body read piece by piece and its raw header block
// queried, and every handle is closed by the caller. Built on libcurl.
namespace pagora::internet {

inline constexpr std::uint32_t flag_reload = 0x80000000;     // never answer from a cache
inline constexpr std::uint32_t flag_need_file = 0x10;
inline constexpr std::uint32_t flag_no_cookies = 0x80000;    // no cookie store for this request
inline constexpr std::uint32_t flag_no_auto_redirect = 0x200000;
inline constexpr std::uint32_t flag_secure = 0x800000;       // https
inline constexpr std::uint32_t flag_ignore_redirect_to_https = 0x4000; // http may go on to https
inline constexpr std::uint32_t flag_ignore_redirect_to_http = 0x8000;  // https may go on to http

enum class AccessType { direct = 1, proxy = 3 };
enum class Service { http = 3 };
enum class QueryLevel { raw_headers_crlf = 22 };

// How many redirects one request follows at most.
inline constexpr int max_redirects = 10;

// An internet, connection or request handle; null stands for none.
struct Handle;

// The proxy text is one proxy for every scheme ("host:port") or a list of
// "scheme=host:port" entries separated by spaces, each for its scheme only.
// The environment's proxy settings are never consulted.
Handle* open(const GbkText& agent, AccessType access, const GbkText& proxy,
             const GbkText& proxy_bypass, std::uint32_t flags);
// Port 0 means the scheme's default port. Names are not resolved until the
// request is sent.
Handle* connect(Handle* internet, const GbkText& host, int port, const GbkText& user_name,
                const GbkText& password, Service service, std::uint32_t flags,
                std::uintptr_t context);
Handle* open_request(Handle* connection, const GbkText& verb, const GbkText& path,
                     const GbkText& version, const GbkText& referrer, std::uint32_t flags,
                     std::uintptr_t context);
// Header lines are separated by CR LF. Sends the request, follows redirects
// unless told not to, and receives the final response; false when the
// transfer failed (the bytes received until then stay readable).
bool send_request(Handle* request, const GbkText& headers, const Bytes& body);
// The next piece of the body, at most `size` bytes; `count` is 0 at the end.
bool read_file(Handle* request, std::uint8_t* buffer, std::size_t size, std::size_t& count);
// Writes the final response's status line and header lines, each ended by
// CR LF, then an empty line, NUL-terminated. Fails, leaving the buffer alone
// and setting `length` to the size needed, when no complete header block
// arrived or it does not fit.
bool query_info(Handle* request, QueryLevel level, char* buffer, std::size_t& length);
// Releases a handle; closing null does nothing and reports failure.
bool close_handle(Handle* handle);

} // namespace pagora::internet
