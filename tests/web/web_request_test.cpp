#include "web/web_request.h"

#include "raw_http_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace pagora;
using pagora::testing::Connection;
using pagora::testing::RawHttpServer;
using pagora::testing::RawRequest;

namespace {

const std::string default_agent = web_request_steps::default_agent_name;

std::string text_of(const Bytes& bytes)
{
    return std::string(as_chars(bytes));
}

// Answers every request with the same response.
RawHttpServer::Handler answer(std::string response)
{
    return [response](const RawRequest&, Connection& connection) { connection.send(response); };
}

std::string host_of(const RawHttpServer& server)
{
    return "127.0.0.1:" + std::to_string(server.port());
}

// A port on 127.0.0.1 that takes connections and drops them at once, counting
// them: where a TLS handshake would go, without a TLS server.
class DroppingListener {
public:
    DroppingListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 8);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            while (!stopping_) {
                pollfd waiting{fd_, POLLIN, 0};
                if (::poll(&waiting, 1, 50) <= 0) continue;
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0) continue;
                ++connections_;
                ::close(client);
            }
        });
    }
    ~DroppingListener()
    {
        stopping_ = true;
        thread_.join();
        ::close(fd_);
    }
    int port() const { return port_; }
    int connections() const { return connections_; }

private:
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// Sets an environment variable for the length of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnvironment() { ::unsetenv(name_); }

private:
    const char* name_;
};

} // namespace

TEST(WebRequest, BookLoaderCallSendsTheComposedGetLineForLine)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "<html>book</html>", "", "text/html")));
    const std::string url = server.url("/book/Index.html?x=1");

    EXPECT_EQ(text_of(web_request(GbkText(url))), "<html>book</html>");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head, "GET /book/Index.html?x=1 HTTP/1.1\r\n"
                                "Host: " + host_of(server) + "\r\n"
                                "User-Agent: " + default_agent + "\r\n"
                                "Accept: */*\r\n"
                                "Referer: " + url + "\r\n"
                                "Accept-Language: zh-cn\r\n"
                                "\r\n");
    EXPECT_EQ(requests[0].body, "");
}

TEST(WebRequest, PathBytesAUrlCannotCarryAreEscaped)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "")));
    web_request(GbkText(server.url("/a b/\xD6\xD0\r\nX: y?q=1#frag")));
    const RawRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.method, "GET");
    EXPECT_EQ(sent.target, "/a%20b/%D6%D0%0D%0AX:%20y?q=1");
    EXPECT_EQ(sent.version, "HTTP/1.1");
}

TEST(WebRequest, AgentNameNeverBreaksTheHeaderLine)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "")));
    WebRequestArguments arguments;
    // The fallback reads everything after the first colon, line break and all;
    // only its first line can serve as the agent name.
    arguments.extra_headers = "X: a\r\nx-user-agent: b"_gbk;
    web_request(GbkText(server.url("/")), arguments);
    const RawRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.header("User-Agent"), "a");
    EXPECT_EQ(sent.count("x-user-agent"), 1);
}

TEST(WebRequest, PostWithCookiesWritesBackHeadersAndMergedCookies)
{
    const std::string response_headers = "Set-Cookie: b=3; path=/\r\nSet-Cookie: gone=deleted\r\n";
    RawHttpServer server(answer(RawHttpServer::response(200, "ok", response_headers, "text/plain")));
    const std::string url = server.url("/login");

    WebRequestArguments arguments;
    arguments.verb_index = 1;
    arguments.body_text = "user=x"_gbk;
    arguments.cookies_to_send = "a=1; b=2; gone=1"_gbk;
    arguments.extra_headers = "User-Agent: Y\r\nX-Accept: a"_gbk;
    EXPECT_EQ(text_of(web_request(GbkText(url), arguments)), "ok");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head, "POST /login HTTP/1.1\r\n"
                                "Host: " + host_of(server) + "\r\n"
                                "User-Agent: Y\r\n"
                                "X-Accept: a\r\n"
                                "Referer: " + url + "\r\n"
                                "Accept-Language: zh-cn\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "Cookie: a=1; b=2; gone=1\r\n"
                                "Content-Length: 6\r\n"
                                "\r\n");
    EXPECT_EQ(requests[0].body, "user=x");

    EXPECT_EQ(arguments.extra_headers, GbkText("User-Agent: Y\r\nX-Accept: a\r\nReferer: " + url +
                                               "\r\nAccept-Language: zh-cn\r\n"
                                               "Content-Type: application/x-www-form-urlencoded\r\n"
                                               "Cookie: a=1; b=2; gone=1"));
    EXPECT_EQ(arguments.body_bytes, bytes_of("user=x"));
    EXPECT_EQ(arguments.raw_response_headers,
              GbkText("HTTP/1.1 200 Status\r\nContent-Type: text/plain\r\nContent-Length: 2\r\n"
                      "Connection: close\r\n" + response_headers + "\r\n"));
    // b's new value wins, the deleted cookie goes, a stays.
    EXPECT_EQ(arguments.cookies_received, "b=3;a=1"_gbk);
    EXPECT_EQ(arguments.cookies_to_send, "b=3;a=1"_gbk);
}

TEST(WebRequest, CookieOptionsDecideWhatIsSentAndMerged)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "", "Set-Cookie: s=1\r\nSet-Cookie: x=deleted\r\n")));

    // Present but empty: no cookie line, yet the received cookies are merged.
    WebRequestArguments empty_cookies;
    empty_cookies.cookies_to_send = GbkText();
    EXPECT_TRUE(web_request(GbkText(server.url("/")), empty_cookies).empty());
    EXPECT_EQ(empty_cookies.cookies_to_send, "s=1"_gbk);
    EXPECT_EQ(empty_cookies.cookies_received, "s=1"_gbk);

    // No merging: the collected cookies as they came, the sent ones untouched.
    WebRequestArguments no_merge;
    no_merge.cookies_to_send = "Cookie: a=1"_gbk;
    no_merge.merge_received_cookies = false;
    web_request(GbkText(server.url("/")), no_merge);
    EXPECT_EQ(no_merge.cookies_to_send, "Cookie: a=1"_gbk);
    EXPECT_EQ(no_merge.cookies_received, "s=1; x=deleted"_gbk);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].count("Cookie"), 0);
    EXPECT_EQ(requests[1].header("Cookie"), "a=1");
}

TEST(WebRequest, VerbsAndBodies)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "done")));
    const struct {
        int verb_index;
        std::string body_text, body_bytes;
        std::string method, sent_body, body_bytes_after;
    } cases[] = {
        {0, "x=1", "", "GET", "", ""},
        {8, "x=1", "", "GET", "", ""},
        {-1, "", "keep", "GET", "", "keep"},
        {3, "x=1", "", "PUT", "x=1", "x=1"},
        {3, "x=1", "raw", "PUT", "raw", "raw"},
        {5, "", "", "DELETE", "", ""},
        {4, "", "", "OPTIONS", "", ""},
    };
    for (const auto& c : cases) {
        WebRequestArguments arguments;
        arguments.verb_index = c.verb_index;
        arguments.body_text = GbkText(c.body_text);
        arguments.body_bytes = bytes_of(c.body_bytes);
        EXPECT_EQ(text_of(web_request(GbkText(server.url("/v")), arguments)), "done") << c.verb_index;
        const RawRequest sent = server.requests().back();
        EXPECT_EQ(sent.method, c.method);
        EXPECT_EQ(sent.body, c.sent_body);
        EXPECT_EQ(sent.header("Content-Length"), c.sent_body.empty() ? "" : std::to_string(c.sent_body.size()));
        EXPECT_EQ(sent.count("Content-Type"), 0) << c.method;
        EXPECT_EQ(text_of(arguments.body_bytes), c.body_bytes_after) << c.verb_index;
    }

    WebRequestArguments head;
    head.verb_index = 2;
    EXPECT_TRUE(web_request(GbkText(server.url("/h")), head).empty());
    EXPECT_EQ(server.requests().back().method, "HEAD");
    EXPECT_EQ(text_of(bytes_of(head.raw_response_headers.view())).substr(0, 15), "HTTP/1.1 200 St");
}

TEST(WebRequest, LargePostBodyGoesWithoutExpectContinue)
{
    RawHttpServer server(answer(RawHttpServer::response(200, "ok")));
    WebRequestArguments arguments;
    arguments.verb_index = 1;
    arguments.body_bytes = Bytes(200'000, 'z');
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/big")), arguments)), "ok");
    const RawRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.count("Expect"), 0);
    EXPECT_EQ(sent.count("Pragma"), 0);
    EXPECT_EQ(sent.body.size(), 200'000u);
}

TEST(WebRequest, FollowsRedirectsAndReportsTheFinalResponse)
{
    RawHttpServer server([](const RawRequest& request, Connection& connection) {
        if (request.target == "/start")
            connection.send(RawHttpServer::response(302, "moved", "Location: /final\r\nSet-Cookie: early=1\r\n"));
        else
            connection.send(RawHttpServer::response(200, "final body", "Set-Cookie: late=2\r\n"));
    });

    WebRequestArguments follow;
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/start")), follow)), "final body");
    EXPECT_EQ(text_of(bytes_of(follow.raw_response_headers.view())).substr(0, 13), "HTTP/1.1 200 ");
    EXPECT_EQ(follow.cookies_received, "late=2"_gbk);
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/final");
    EXPECT_EQ(requests[1].header("Referer"), server.url("/start"));

    WebRequestArguments blocked;
    blocked.block_redirect = true;
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/start")), blocked)), "moved");
    EXPECT_EQ(text_of(bytes_of(blocked.raw_response_headers.view())).substr(0, 13), "HTTP/1.1 302 ");
    EXPECT_EQ(blocked.cookies_received, "early=1"_gbk);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(WebRequest, RedirectsAreBoundedAndSeeOtherTurnsPostIntoGet)
{
    RawHttpServer server([](const RawRequest& request, Connection& connection) {
        if (request.target == "/loop")
            connection.send(RawHttpServer::response(302, "again", "Location: /loop\r\n"));
        else if (request.target == "/form")
            connection.send(RawHttpServer::response(303, "", "Location: /result\r\n"));
        else
            connection.send(RawHttpServer::response(200, request.method + " " + request.body));
    });

    EXPECT_EQ(text_of(web_request(GbkText(server.url("/loop")))), "again");
    EXPECT_EQ(server.requests().size(), 11u); // the first request and ten redirects

    WebRequestArguments post;
    post.verb_index = 1;
    post.body_text = "a=1"_gbk;
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/form")), post)), "GET ");
}

TEST(WebRequest, RedirectToAnotherHostLeavesTheCookieLineBehind)
{
    RawHttpServer other(answer(RawHttpServer::response(200, "other")));
    const std::string location = "http://localhost:" + std::to_string(other.port()) + "/there";
    RawHttpServer first(answer(RawHttpServer::response(301, "", "Location: " + location + "\r\n")));

    WebRequestArguments arguments;
    arguments.cookies_to_send = "sid=secret"_gbk;
    EXPECT_EQ(text_of(web_request(GbkText(first.url("/here")), arguments)), "other");
    EXPECT_EQ(first.requests().at(0).header("Cookie"), "sid=secret");
    const RawRequest moved = other.requests().at(0);
    EXPECT_EQ(moved.target, "/there");
    EXPECT_EQ(moved.count("Cookie"), 0);
    EXPECT_EQ(moved.header("Accept-Language"), "zh-cn");
}

TEST(WebRequest, HeaderBlockMustFitIn4999Bytes)
{
    // The block without padding: status line, the four standard lines, the
    // padding line's frame and the final empty line.
    const std::string bare = RawHttpServer::response(200, "") + "X-Pad: \r\n" + "Set-Cookie: k=v\r\n";
    const std::size_t frame = bare.size();
    for (const std::size_t block_size : {std::size_t{4999}, std::size_t{5000}}) {
        const std::string pad(block_size - frame, 'p');
        RawHttpServer server(answer(RawHttpServer::response(200, "body", "X-Pad: " + pad + "\r\nSet-Cookie: k=v\r\n")));
        WebRequestArguments arguments;
        EXPECT_EQ(text_of(web_request(GbkText(server.url("/")), arguments)), "body");
        if (block_size == 4999) {
            EXPECT_EQ(arguments.raw_response_headers.size(), 4999u);
            EXPECT_EQ(arguments.cookies_received, "k=v"_gbk);
        } else {
            EXPECT_EQ(arguments.raw_response_headers, GbkText(std::string(5000, ' ')));
            EXPECT_EQ(arguments.cookies_received, ""_gbk);
        }
    }
}

TEST(WebRequest, BrokenTransferKeepsTheBytesReceived)
{
    const std::string part(3000, 'q');
    RawHttpServer server([&](const RawRequest&, Connection& connection) {
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + part);
    });
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/cut")))), part);
}

TEST(WebRequest, ErrorStatusBodyComesBackLikeAnyOther)
{
    RawHttpServer server(answer(RawHttpServer::response(404, "not here")));
    WebRequestArguments arguments;
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/missing")), arguments)), "not here");
    EXPECT_EQ(text_of(bytes_of(arguments.raw_response_headers.view())).substr(0, 13), "HTTP/1.1 404 ");
}

TEST(WebRequest, FailedSendLeavesSpacesAndMergesNothing)
{
    int closed_port = 0;
    {
        RawHttpServer gone(answer(""));
        closed_port = gone.port();
    }
    WebRequestArguments arguments;
    arguments.cookies_to_send = " a=1 "_gbk;
    EXPECT_TRUE(web_request(GbkText("http://127.0.0.1:" + std::to_string(closed_port) + "/"), arguments).empty());
    EXPECT_EQ(arguments.raw_response_headers, GbkText(std::string(5000, ' ')));
    EXPECT_EQ(arguments.cookies_received, "a=1"_gbk);
    EXPECT_EQ(arguments.cookies_to_send, "a=1"_gbk);
    EXPECT_EQ(text_of(bytes_of(arguments.extra_headers.view())).substr(0, 11), "Accept: */*");
}

TEST(WebRequest, FailedSetupWritesNoOutArgument)
{
    for (const char* address : {"http://127.0.0.1:70000/", "http://127.0.0.1:-1/"}) {
        WebRequestArguments arguments;
        arguments.cookies_to_send = "a=1"_gbk;
        arguments.cookies_received = "before"_gbk;
        arguments.extra_headers = "X: 1"_gbk;
        arguments.raw_response_headers = "before"_gbk;
        arguments.verb_index = 3;
        arguments.body_text = "t"_gbk;
        EXPECT_TRUE(web_request(GbkText(address), arguments).empty());
        EXPECT_EQ(arguments.cookies_to_send, "a=1"_gbk);
        EXPECT_EQ(arguments.cookies_received, "before"_gbk);
        EXPECT_EQ(arguments.extra_headers, "X: 1"_gbk);
        EXPECT_EQ(arguments.raw_response_headers, "before"_gbk);
        EXPECT_TRUE(arguments.body_bytes.empty());
    }
}

TEST(WebRequest, DirectConnectionIgnoresTheEnvironmentsProxy)
{
    RawHttpServer proxy(answer(RawHttpServer::response(200, "from proxy")));
    RawHttpServer server(answer(RawHttpServer::response(200, "direct")));
    const std::string proxy_url = proxy.url("");
    ScopedEnvironment http("http_proxy", proxy_url);
    ScopedEnvironment all("ALL_PROXY", proxy_url);
    EXPECT_EQ(text_of(web_request(GbkText(server.url("/d")))), "direct");
    EXPECT_TRUE(proxy.requests().empty());
}

TEST(WebRequest, ProxyCarriesHttpRequestsWithAnAbsoluteTarget)
{
    RawHttpServer proxy(answer(RawHttpServer::response(200, "via proxy")));
    WebRequestArguments arguments;
    arguments.proxy_server = GbkText(host_of(proxy));
    EXPECT_EQ(text_of(web_request("http://book.invalid/a?b=1"_gbk, arguments)), "via proxy");
    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "http://book.invalid/a?b=1");
    EXPECT_EQ(requests[0].header("Host"), "book.invalid");
    EXPECT_EQ(requests[0].header("User-Agent"), default_agent);
    EXPECT_EQ(requests[0].count("Proxy-Connection"), 0);
}

TEST(WebRequest, ProxyTunnelsHttpsAddresses)
{
    RawHttpServer proxy(answer("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"));
    WebRequestArguments arguments;
    arguments.proxy_server = GbkText(host_of(proxy));
    arguments.cookies_to_send = "sid=1"_gbk;
    EXPECT_TRUE(web_request("HTTPS://secure.invalid/x"_gbk, arguments).empty());
    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "CONNECT");
    EXPECT_EQ(requests[0].target, "secure.invalid:443");
    EXPECT_EQ(requests[0].count("Cookie"), 0); // the request's own lines stay inside the tunnel
}

TEST(WebRequest, HttpOnlyProxyLetsARedirectToHttpsGoDirect)
{
    DroppingListener tls_port;
    RawHttpServer proxy(answer(RawHttpServer::response(
        302, "", "Location: https://127.0.0.1:" + std::to_string(tls_port.port()) + "/secure\r\n")));
    WebRequestArguments arguments;
    arguments.proxy_server = GbkText(host_of(proxy));
    EXPECT_TRUE(web_request("http://book.invalid/"_gbk, arguments).empty());
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(tls_port.connections(), 1);
}
