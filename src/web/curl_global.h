#pragma once

#include <curl/curl.h>
#include <mutex>

namespace pagora {

// libcurl's global set-up is not thread-safe on its own; every user of libcurl
// calls this first, from any thread, and the set-up runs exactly once.
inline void ensure_curl_initialised()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace pagora
