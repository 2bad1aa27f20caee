#include "web/web_request.h"

#include "web/cookies.h"
#include "web/cutting.h"
#include "web/internet_api.h"
#include "web/text.h"
#include "web/url.h"

#include <array>
#include <string>

namespace pagora {
namespace web_request_steps {

GbkText verb(int verb_index)
{
    static const std::array<const char*, 8> verbs{"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE",
                                                  "CONNECT"};
    if (verb_index < 0 || verb_index > 7) verb_index = 0;
    return GbkText(verbs[static_cast<std::size_t>(verb_index)]);
}

bool is_secure_address(const GbkText& target_url)
{
    return text_lower(text_head(target_url, 8)) == "https://"_gbk;
}

GbkText agent_name(const GbkText& extra_headers)
{
    if (text_find(extra_headers, "User-Agent:"_gbk, std::nullopt, true) == -1) return GbkText(default_agent_name);
    const GbkText exact = text_trim(text_between(extra_headers + "\r\n"_gbk, "User-Agent:"_gbk, "\r\n"_gbk));
    if (!exact.empty()) return exact;
    return header_value(extra_headers);
}

GbkText proxy_text(const GbkText& proxy_server, bool secure)
{
    return secure ? proxy_server : "http="_gbk + proxy_server;
}

std::uint32_t request_flags(bool cookies_present, bool block_redirect, bool secure)
{
    std::uint32_t flags = internet::flag_reload | internet::flag_need_file;
    if (cookies_present) flags |= internet::flag_no_cookies;
    if (block_redirect) flags |= internet::flag_no_auto_redirect;
    flags |= secure ? internet::flag_secure : internet::flag_ignore_redirect_to_https;
    return flags;
}

GbkText compose_headers(GbkText headers, const GbkText& target_url, int verb_index,
                        const std::optional<GbkText>& cookies_to_send)
{
    const auto lacks = [&](const char* name) { return text_find(headers, GbkText(name)) == -1; };
    if (headers.empty())
        headers = "Accept: */*"_gbk;
    else if (lacks("Accept:"))
        headers += "\r\nAccept: */*"_gbk;
    if (lacks("Referer:")) headers += "\r\nReferer: "_gbk + target_url;
    if (lacks("Accept-Language:")) headers += "\r\nAccept-Language: zh-cn"_gbk;
    if (verb_index == 1 && lacks("Content-Type:"))
        headers += "\r\nContent-Type: application/x-www-form-urlencoded"_gbk;
    if (cookies_to_send && !cookies_to_send->empty()) {
        if (text_find(*cookies_to_send, "Cookie:"_gbk) != -1)
            headers += "\r\n"_gbk + *cookies_to_send;
        else
            headers += "\r\nCookie: "_gbk + *cookies_to_send;
    }
    return headers;
}

} // namespace web_request_steps

Bytes web_request(const GbkText& target_url, WebRequestArguments& arguments)
{
    using namespace web_request_steps;
    int verb_index = arguments.verb_index;
    if (verb_index < 0 || verb_index > 7) verb_index = 0;
    const GbkText method = verb(verb_index);
    const bool secure = is_secure_address(target_url);
    const GbkText agent = agent_name(arguments.extra_headers);

    internet::Handle* session =
        arguments.proxy_server.empty()
            ? internet::open(agent, internet::AccessType::direct, {}, {}, 0)
            : internet::open(agent, internet::AccessType::proxy, proxy_text(arguments.proxy_server, secure), {}, 0);
    if (!session) return {};
    internet::Handle* connection = internet::connect(session, url_host(target_url), url_port(target_url), {}, {},
                                                     internet::Service::http, 0, 0);
    if (!connection) {
        internet::close_handle(session);
        return {};
    }
    const std::uint32_t flags = request_flags(arguments.cookies_to_send.has_value(), arguments.block_redirect, secure);
    internet::Handle* request =
        internet::open_request(connection, method, url_path(target_url), "HTTP/1.1"_gbk, {}, flags, 0);
    if (!request) {
        internet::close_handle(connection);
        internet::close_handle(session);
        return {};
    }

    arguments.extra_headers = compose_headers(arguments.extra_headers, target_url, verb_index, arguments.cookies_to_send);
    if (verb_index == 0) {
        internet::send_request(request, arguments.extra_headers, {});
    } else {
        if (arguments.body_bytes.empty()) arguments.body_bytes = bytes_of(arguments.body_text.view());
        internet::send_request(request, arguments.extra_headers, arguments.body_bytes);
    }

    Bytes body;
    std::array<std::uint8_t, read_chunk_size> chunk{};
    for (;;) {
        std::size_t count = 0;
        internet::read_file(request, chunk.data(), chunk.size(), count);
        if (count == 0) break;
        body.insert(body.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
    }

    std::string header_buffer(raw_header_buffer_size, ' ');
    std::size_t length = header_buffer.size();
    internet::query_info(request, internet::QueryLevel::raw_headers_crlf, header_buffer.data(), length);
    header_buffer.resize(std::min(header_buffer.find('\0'), header_buffer.size()));
    arguments.raw_response_headers = GbkText(std::move(header_buffer));

    internet::close_handle(request);
    internet::close_handle(connection);
    internet::close_handle(session);

    arguments.cookies_received = collect_response_cookies(arguments.raw_response_headers);
    if (arguments.merge_received_cookies && arguments.cookies_to_send)
        arguments.cookies_received = merge_cookies(*arguments.cookies_to_send, arguments.cookies_received);
    return body;
}

Bytes web_request(const GbkText& target_url)
{
    WebRequestArguments arguments;
    return web_request(target_url, arguments);
}

} // namespace pagora
