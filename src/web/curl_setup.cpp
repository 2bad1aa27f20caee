#include "web/curl_setup.h"

namespace pagora {

void ensure_curl_initialised()
{
    // A function-local static is initialised exactly once, even when threads race.
    [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
}

void set_transfer_options(CURL* handle, const TransferLimits& limits)
{
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect_timeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L); // ends when no byte arrived for the stall time
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stall_timeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total_timeout.count()));
}

std::string percent_encode_unsafe_bytes(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace pagora
