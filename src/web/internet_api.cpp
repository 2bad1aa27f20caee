#include "web/internet_api.h"

#include "web/curl_setup.h"
#include "web/transfer_limits.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagora::internet {

struct Handle {
    virtual ~Handle() = default;
};

namespace {

char ascii_lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

std::string_view trim_blanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Which proxy carries the requests of each scheme; empty means direct.
class ProxyRules {
public:
    static ProxyRules parse(std::string_view text)
    {
        ProxyRules rules;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = std::min(text.find_first_of(" \t;", at), text.size());
            const std::string_view entry = text.substr(at, end - at);
            at = end + 1;
            if (entry.empty()) continue;
            const std::size_t equals = entry.find('=');
            const bool scheme_entry =
                equals != std::string_view::npos && equals > 0 &&
                std::all_of(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(equals),
                            [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
            if (scheme_entry) {
                std::string scheme(entry.substr(0, equals));
                std::transform(scheme.begin(), scheme.end(), scheme.begin(), ascii_lower);
                rules.by_scheme_.emplace_back(std::move(scheme), entry.substr(equals + 1));
            } else {
                rules.for_every_scheme_ = entry;
            }
        }
        return rules;
    }

    bool empty() const { return for_every_scheme_.empty() && by_scheme_.empty(); }

    std::string for_scheme(std::string_view scheme) const
    {
        for (const auto& [name, proxy] : by_scheme_)
            if (name == scheme) return proxy;
        return for_every_scheme_;
    }

private:
    std::string for_every_scheme_;
    std::vector<std::pair<std::string, std::string>> by_scheme_;
};

struct InternetSession final : Handle {
    std::string agent;
    ProxyRules proxies;
};

struct ServerConnection final : Handle {
    std::string agent;
    ProxyRules proxies;
    std::string host;
    int port = 0;
};

// What one transfer brought back: the latest response's header block and body.
struct Response {
    bool transfer_ok = false;
    long status = 0;
    std::string raw_headers;
    bool headers_complete = false;
    std::string body;
    std::size_t max_body_bytes = 0; // the body stops growing here and the transfer ends
    std::string redirect_url;
};

struct HttpRequest final : Handle {
    std::string agent;
    ProxyRules proxies;
    std::string host;
    int port = 0;
    std::string verb;
    std::string path;
    long http_version = CURL_HTTP_VERSION_1_1;
    std::uint32_t flags = 0;
    Response response;
    std::size_t read_offset = 0;
};

bool is_host_name(std::string_view host)
{
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        const char lower = ascii_lower(c);
        return (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    });
}

// The path as a URL carries it; a path must begin with "/".
std::string escaped_path(std::string_view path)
{
    const std::string escaped = percent_encode_unsafe_bytes(path);
    return escaped.empty() || escaped.front() != '/' ? "/" + escaped : escaped;
}

struct CurlUrlParts {
    std::string scheme;
    std::string host;
    std::string port;
};

CurlUrlParts parts_of(const std::string& url)
{
    CurlUrlParts parts;
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return parts;
    const auto part = [&](CURLUPart which, unsigned int flags) {
        char* value = nullptr;
        std::string text;
        if (curl_url_get(handle.get(), which, &value, flags) == CURLUE_OK && value) text = value;
        curl_free(value);
        return text;
    };
    parts.scheme = part(CURLUPART_SCHEME, 0);
    parts.host = part(CURLUPART_HOST, 0);
    parts.port = part(CURLUPART_PORT, CURLU_DEFAULT_PORT);
    return parts;
}

std::string header_name(std::string_view line)
{
    return std::string(trim_blanks(line.substr(0, line.find_first_of(":;"))));
}

// The caller's header text as separate lines. A lone CR or LF also ends a
// line, so no header can smuggle a line break into the request.
std::vector<std::string> header_lines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = text.substr(at, end - at);
        if (!trim_blanks(line).empty()) lines.emplace_back(line);
        at = end + 1;
    }
    return lines;
}

bool has_header(const std::vector<std::string>& lines, std::string_view name)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return same_name(header_name(line), name); });
}

// The lines as libcurl takes them: a line with an empty value is written
// "Name;" so it is sent as it stands, and each header libcurl would add of
// its own accord is switched off unless the caller's text carries it, so the
// caller's lines are what goes on the wire.
std::vector<std::string> curl_header_entries(const std::vector<std::string>& lines)
{
    std::vector<std::string> entries;
    for (const std::string& line : lines) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue; // not a header line
        if (trim_blanks(std::string_view(line).substr(colon + 1)).empty())
            entries.push_back(line.substr(0, colon) + ";");
        else
            entries.push_back(line);
    }
    for (const char* own : {"Accept", "Expect", "Pragma", "Content-Type", "Proxy-Connection"})
        if (!has_header(lines, own)) entries.push_back(std::string(own) + ":");
    return entries;
}

// Header lines that belong to the first host only: a redirect to another
// host does not carry them along.
void drop_host_bound_lines(std::vector<std::string>& lines)
{
    std::erase_if(lines, [](const std::string& line) {
        const std::string name = header_name(line);
        return same_name(name, "Cookie") || same_name(name, "Authorization") || same_name(name, "Host");
    });
}

std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& response = *static_cast<Response*>(user);
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        // A new response (after an interim one) replaces what came before.
        response.raw_headers.clear();
        response.headers_complete = false;
    } else if (response.headers_complete) {
        return size * count; // trailers after a chunked body are not part of the block
    }
    response.raw_headers.append(line).append("\r\n");
    if (line.empty()) response.headers_complete = true;
    return size * count;
}

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& response = *static_cast<Response*>(user);
    const std::size_t length = size * count;
    const std::size_t kept = std::min(length, response.max_body_bytes - response.body.size());
    response.body.append(data, kept);
    return kept == length ? length : 0; // returning less ends the transfer at the limit
}

using CurlEasy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// One request and its response, without following a redirect.
Response transfer(const HttpRequest& request, const std::string& url, const std::string& scheme,
                  const std::string& verb, const std::vector<std::string>& lines, const Bytes& body)
{
    const TransferLimits limits = transfer_limits();
    Response response;
    response.max_body_bytes = limits.max_body_bytes;
    ensure_curl_initialised();
    CurlEasy curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return response;
    CurlList list(nullptr, curl_slist_free_all);
    for (const std::string& entry : curl_header_entries(lines)) {
        curl_slist* longer = curl_slist_append(list.get(), entry.c_str());
        if (!longer) return response;
        list.release();
        list.reset(longer);
    }
    const std::string proxy = request.proxies.for_scheme(scheme);
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    set_transfer_options(c, limits);
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, request.http_version);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, request.agent.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, list.get());
    // An empty proxy and "*" for no_proxy keep the environment's proxy out.
    curl_easy_setopt(c, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, proxy.empty() ? "*" : "");
    curl_easy_setopt(c, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &response);

    static const char no_body[] = "";
    const char* body_data = body.empty() ? no_body : reinterpret_cast<const char*>(body.data());
    if (verb == "GET") {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    } else if (verb == "HEAD") {
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    } else {
        if (verb == "POST" || !body.empty()) {
            curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(c, CURLOPT_POSTFIELDS, body_data);
        }
        if (verb != "POST") curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }

    response.transfer_ok = curl_easy_perform(c) == CURLE_OK;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
    char* location = nullptr;
    if (curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        response.redirect_url = location;
    return response;
}

bool is_redirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool may_redirect(std::uint32_t flags, const std::string& from_scheme, const std::string& to_scheme)
{
    if (to_scheme == from_scheme) return true;
    if (from_scheme == "http" && to_scheme == "https") return (flags & flag_ignore_redirect_to_https) != 0;
    if (from_scheme == "https" && to_scheme == "http") return (flags & flag_ignore_redirect_to_http) != 0;
    return false;
}

} // namespace

Handle* open(const GbkText& agent, AccessType access, const GbkText& proxy, const GbkText&,
             std::uint32_t)
{
    auto session = std::make_unique<InternetSession>();
    // The agent name is one header value: a line break would end the line.
    session->agent = agent.bytes().substr(0, agent.bytes().find_first_of("\r\n"));
    if (access == AccessType::proxy) {
        session->proxies = ProxyRules::parse(proxy.view());
        if (session->proxies.empty()) return nullptr;
    } else if (access != AccessType::direct) {
        return nullptr;
    }
    return session.release();
}

Handle* connect(Handle* internet, const GbkText& host, int port, const GbkText&, const GbkText&,
                Service service, std::uint32_t, std::uintptr_t)
{
    const auto* session = dynamic_cast<const InternetSession*>(internet);
    if (!session || service != Service::http || host.empty() || port < 0 || port > 65535) return nullptr;
    auto connection = std::make_unique<ServerConnection>();
    connection->agent = session->agent;
    connection->proxies = session->proxies;
    connection->host = host.bytes();
    connection->port = port;
    return connection.release();
}

Handle* open_request(Handle* connection, const GbkText& verb, const GbkText& path,
                     const GbkText& version, const GbkText&, std::uint32_t flags, std::uintptr_t)
{
    const auto* server = dynamic_cast<const ServerConnection*>(connection);
    if (!server) return nullptr;
    auto request = std::make_unique<HttpRequest>();
    request->agent = server->agent;
    request->proxies = server->proxies;
    request->host = server->host;
    request->port = server->port;
    request->verb = verb.empty() ? "GET" : verb.bytes();
    request->path = path.bytes();
    request->http_version = version == GbkText("HTTP/1.0") ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1;
    request->flags = flags;
    return request.release();
}

bool send_request(Handle* handle, const GbkText& headers, const Bytes& body)
{
    auto* request = dynamic_cast<HttpRequest*>(handle);
    if (!request) return false;
    request->response = {};
    request->read_offset = 0;
    if (!is_host_name(request->host)) return false; // the name could not be resolved

    std::string scheme = (request->flags & flag_secure) ? "https" : "http";
    const int port = request->port != 0 ? request->port : (scheme == "https" ? 443 : 80);
    std::string url = scheme + "://" + request->host + ":" + std::to_string(port) + escaped_path(request->path);
    std::string verb = request->verb;
    std::vector<std::string> lines = header_lines(headers.view());
    Bytes sent_body = body;

    for (int hop = 0;; ++hop) {
        request->response = transfer(*request, url, scheme, verb, lines, sent_body);
        const Response& response = request->response;
        if (!response.transfer_ok) return false;
        if ((request->flags & flag_no_auto_redirect) || !is_redirect(response.status) ||
            response.redirect_url.empty() || hop == max_redirects)
            return true;
        const CurlUrlParts from = parts_of(url);
        const CurlUrlParts to = parts_of(response.redirect_url);
        if (!may_redirect(request->flags, scheme, to.scheme)) return true;
        if (to.host != from.host || to.port != from.port) drop_host_bound_lines(lines);
        if ((response.status == 303 && verb != "HEAD") ||
            ((response.status == 301 || response.status == 302) && verb == "POST")) {
            verb = "GET";
            sent_body.clear();
        }
        url = response.redirect_url;
        scheme = to.scheme;
    }
}

bool read_file(Handle* handle, std::uint8_t* buffer, std::size_t size, std::size_t& count)
{
    count = 0;
    auto* request = dynamic_cast<HttpRequest*>(handle);
    if (!request || !buffer) return false;
    const std::string& body = request->response.body;
    count = std::min(size, body.size() - request->read_offset);
    std::memcpy(buffer, body.data() + request->read_offset, count);
    request->read_offset += count;
    return true;
}

bool query_info(Handle* handle, QueryLevel level, char* buffer, std::size_t& length)
{
    const auto* request = dynamic_cast<const HttpRequest*>(handle);
    if (!request || level != QueryLevel::raw_headers_crlf || !request->response.headers_complete) return false;
    const std::string& block = request->response.raw_headers;
    if (!buffer || block.size() + 1 > length) {
        length = block.size() + 1;
        return false;
    }
    std::memcpy(buffer, block.c_str(), block.size() + 1);
    length = block.size();
    return true;
}

bool close_handle(Handle* handle)
{
    if (!handle) return false;
    delete handle;
    return true;
}

} // namespace pagora::internet
