#include "web/curl_global.h"

#include <curl/curl.h>

namespace pagora {

void ensure_curl_initialised()
{
    // A function-local static is initialised exactly once, even when threads race.
    [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
}

} // namespace pagora
