#include "download/fetch_bytes.h"

#include "web/codepage.h"
#include "web/curl_setup.h"
#include "web/transfer_limits.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <curl/curl.h>
#include <memory>
#include <string>
#include <string_view>

namespace pagora {
namespace {

constexpr long most_redirects = 10;

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// The address as libcurl takes it: UTF-8, with bytes outside printable ASCII
// percent-encoded (curl refuses raw ones).
std::string request_url(const GbkText& address)
{
    return percent_encode_unsafe_bytes(gbk_to_utf8(address));
}

struct Sink {
    CURL* handle;
    Bytes body;
    std::size_t limit;
    bool sized = false;
};

// Most that an announced length makes us reserve ahead: a server's claim is
// not trusted further; beyond it the buffer grows as the bytes come.
constexpr std::size_t most_reserved_ahead = std::size_t(32) << 20;

// Room for the whole body at its first bytes, when the response announces its
// length: an image is then copied once, not once per growth of the buffer.
void reserve_announced_length(Sink& sink)
{
    sink.sized = true;
    curl_off_t announced = -1;
    if (curl_easy_getinfo(sink.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK) return;
    if (announced > 0)
        sink.body.reserve(std::min({static_cast<std::size_t>(announced), sink.limit, most_reserved_ahead}));
}

std::size_t keep_body(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& sink = *static_cast<Sink*>(user);
    if (!sink.sized) reserve_announced_length(sink);
    const std::size_t length = size * count;
    const std::size_t room = sink.limit - sink.body.size();
    const std::size_t kept = std::min(length, room);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    sink.body.insert(sink.body.end(), bytes, bytes + kept);
    return kept == length ? length : 0; // returning less aborts the transfer at the cap
}

struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

Bytes fetch_bytes(const GbkText& address)
{
    return fetch_checked(address).body;
}

FetchResult fetch_checked(const GbkText& address)
{
    const std::string url = request_url(address);
    if (!starts_with_ignoring_case(url, "http://") && !starts_with_ignoring_case(url, "https://")) return {};

    ensure_curl_initialised();
    const std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
    if (!easy) return {};
    std::unique_ptr<curl_slist, ListFree> headers(curl_slist_append(nullptr, "Accept: */*"));

    const TransferLimits limits = transfer_limits();
    CURL* handle = easy.get();
    Sink sink{handle, {}, limits.max_body_bytes};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    set_transfer_options(handle, limits);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, most_redirects);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    // An empty proxy turns off every proxy, those named in the environment too.
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keep_body);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    const bool complete = curl_easy_perform(handle) == CURLE_OK;
    return {std::move(sink.body), complete};
}

} // namespace pagora
