#pragma once

#include "web/transfer_limits.h"

#include <curl/curl.h>
#include <string>
#include <string_view>

// What every libcurl transfer of the program shares, whichever routine makes it.
namespace pagora {

// Initialises libcurl once per process, whichever thread gets here first;
// every piece of code that creates a curl handle calls it before.
void ensure_curl_initialised();

// http and https only (redirects included), no signals (transfers run on many
// threads), and the limits in force: time to connect, the stall and the whole
// transfer. What each routine keeps of the body is its own affair.
void set_transfer_options(CURL* handle, const TransferLimits& limits);

// Percent-encodes the bytes a URL cannot carry as they are (controls, spaces,
// bytes of 0x80 and above), so no address can break the request line.
std::string percent_encode_unsafe_bytes(std::string_view text);

} // namespace pagora
