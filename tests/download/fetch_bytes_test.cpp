#include "download/fetch_bytes.h"
#include "web/transfer_limits_for_tests.h"

#include "raw_http_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace pagora {
namespace {

using testing::Connection;
using testing::RawHttpServer;
using testing::RawRequest;
using namespace std::chrono_literals;

GbkText address(const RawHttpServer& server, std::string_view path)
{
    return GbkText(server.url(path));
}

// Sets an environment variable for the life of one test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { ::unsetenv(name_); }

private:
    const char* name_;
};

TEST(FetchBytes, SendsExactlyTheSpecifiedRequest)
{
    RawHttpServer server([](const RawRequest&, Connection& c) { c.send(RawHttpServer::response(200, "JPEG")); });
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/book/files/mobile/12.jpg"))), "JPEG");

    // A base address holding GBK text goes out as percent-encoded UTF-8.
    fetch_bytes(GbkText(server.url("/\xCA\xE9 x/1.jpg"))); // 书
    EXPECT_EQ(server.requests().back().target, "/%E4%B9%A6%20x/1.jpg");

    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[0].head,
              "GET /book/files/mobile/12.jpg HTTP/1.0\r\n"
              "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"
              "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
              "Accept: */*\r\n"
              "\r\n");
}

TEST(FetchBytes, GoesDirectlyToTheServerWhateverProxyIsConfigured)
{
    RawHttpServer proxy([](const RawRequest&, Connection& c) { c.send(RawHttpServer::response(200, "PROXY")); });
    RawHttpServer server([](const RawRequest&, Connection& c) { c.send(RawHttpServer::response(200, "DIRECT")); });
    const std::string proxy_url = proxy.url("");
    ScopedEnvironment a("http_proxy", proxy_url), b("HTTPS_PROXY", proxy_url), c("https_proxy", proxy_url),
        d("ALL_PROXY", proxy_url), e("all_proxy", proxy_url);

    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/1.jpg"))), "DIRECT");
    EXPECT_TRUE(proxy.requests().empty());
}

TEST(FetchBytes, ReturnsTheBodyWhateverTheStatus)
{
    RawHttpServer server([](const RawRequest& r, Connection& c) {
        if (r.target == "/missing") c.send(RawHttpServer::response(404, "<html>not found</html>", "", "text/html"));
        else if (r.target == "/broken") c.send(RawHttpServer::response(500, "oops"));
        else c.send(RawHttpServer::response(200, ""));
    });
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/missing"))), "<html>not found</html>");
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/broken"))), "oops");
    EXPECT_TRUE(fetch_bytes(address(server, "/empty")).empty());
}

TEST(FetchBytes, FollowsRedirectsToHttpOnlyAndNotForEver)
{
    RawHttpServer server([](const RawRequest& r, Connection& c) {
        if (r.target == "/moved")
            c.send(RawHttpServer::response(302, "moved", "Location: /final/1.jpg\r\n"));
        else if (r.target == "/final/1.jpg")
            c.send(RawHttpServer::response(200, "FINAL"));
        else if (r.target == "/to-file")
            c.send(RawHttpServer::response(302, "", "Location: file:///etc/hostname\r\n"));
        else
            c.send(RawHttpServer::response(302, "", "Location: /loop\r\n"));
    });
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/moved"))), "FINAL");
    EXPECT_EQ(server.requests().back().version, "HTTP/1.0");

    const Bytes local = fetch_bytes(address(server, "/to-file"));
    EXPECT_TRUE(local.empty()) << "a redirect must not read a local file: " << as_chars(local);

    const auto start = std::chrono::steady_clock::now();
    fetch_bytes(address(server, "/loop"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_LE(server.requests().size(), 2u + 1u + 11u) << "a redirect loop must end";
}

TEST(FetchBytes, KeepsTheBytesReceivedWhenTheTransferBreaksOff)
{
    const std::string part(3000, 'J');
    RawHttpServer server([&](const RawRequest& r, Connection& c) {
        c.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + part);
        if (r.target == "/reset") {
            std::this_thread::sleep_for(50ms); // let the bytes reach the client first
            c.reset();
        }
        // otherwise the connection simply closes early
    });
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/closed"))), part);
    EXPECT_EQ(as_chars(fetch_bytes(address(server, "/reset"))), part);
}

TEST(FetchBytes, StopsAtTheCapWhenTheServerSendsWithoutEnd)
{
    RawHttpServer server([](const RawRequest&, Connection& c) {
        c.send("HTTP/1.1 200 OK\r\n\r\n");
        const std::string chunk(65536, 'x');
        for (int i = 0; i < 1000 && c.send(chunk); ++i) {} // until the client hangs up
    });
    TransferLimits small_cap;
    small_cap.max_body_bytes = 200000;
    const ScopedTransferLimits limits(small_cap);
    const Bytes body = fetch_bytes(address(server, "/endless"));
    EXPECT_EQ(body.size(), 200000u);
}

TEST(FetchBytes, ReturnsNothingForAnAddressItMustNotFetch)
{
    RawHttpServer server([](const RawRequest&, Connection& c) { c.send(RawHttpServer::response(200, "X")); });
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    for (const std::string& bad : {std::string(), host + "/1.jpg", "ftp://" + host + "/1.jpg",
                                   std::string("file:///etc/hostname"), std::string("not an address")})
        EXPECT_TRUE(fetch_bytes(GbkText(bad)).empty()) << bad;
    EXPECT_TRUE(server.requests().empty());
}

TEST(FetchBytes, ReturnsNothingWhenTheConnectionIsRefused)
{
    // A port that was just free: nothing listens there.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
    socklen_t length = sizeof where;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&where), &length);
    ::close(probe);

    const auto url = "http://127.0.0.1:" + std::to_string(ntohs(where.sin_port)) + "/1.jpg";
    EXPECT_TRUE(fetch_bytes(GbkText(url)).empty());
}

} // namespace
} // namespace pagora
