#include "web/internet_api.h"

#include "raw_http_server.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace pagora;
using namespace pagora::internet;
using pagora::testing::Connection;
using pagora::testing::RawHttpServer;
using pagora::testing::RawRequest;

TEST(InternetApi, HandlesOfTheWrongKindOrSettingsAreRefused)
{
    EXPECT_EQ(open("a"_gbk, AccessType::proxy, ""_gbk, ""_gbk, 0), nullptr);
    EXPECT_EQ(open("a"_gbk, static_cast<AccessType>(2), ""_gbk, ""_gbk, 0), nullptr);
    EXPECT_FALSE(close_handle(nullptr));

    Handle* session = open("a"_gbk, AccessType::direct, ""_gbk, ""_gbk, 0);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(connect(session, ""_gbk, 80, {}, {}, Service::http, 0, 0), nullptr);
    EXPECT_EQ(connect(session, "h"_gbk, 65536, {}, {}, Service::http, 0, 0), nullptr);
    EXPECT_EQ(open_request(session, "GET"_gbk, "/"_gbk, "HTTP/1.1"_gbk, {}, 0, 0), nullptr);
    Handle* connection = connect(session, "h"_gbk, 0, {}, {}, Service::http, 0, 0);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connect(connection, "h"_gbk, 80, {}, {}, Service::http, 0, 0), nullptr);
    EXPECT_FALSE(send_request(connection, {}, {}));
    std::size_t count = 7;
    std::uint8_t byte = 0;
    EXPECT_FALSE(read_file(session, &byte, 1, count));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(close_handle(connection));
    EXPECT_TRUE(close_handle(session));
}

TEST(InternetApi, BodyInPiecesAndHeaderBlockOnlyWhenItFits)
{
    const std::string body(2500, 'b');
    RawHttpServer server([&](const RawRequest&, Connection& connection) {
        connection.send("HTTP/1.1 200 OK\nContent-Length: 2500\nConnection: close\n\n" + body); // bare LF lines
    });
    Handle* session = open("agent"_gbk, AccessType::direct, {}, {}, 0);
    Handle* connection = connect(session, "127.0.0.1"_gbk, server.port(), {}, {}, Service::http, 0, 0);
    Handle* request = open_request(connection, "GET"_gbk, "/p"_gbk, "HTTP/1.1"_gbk, {}, flag_reload, 0);
    ASSERT_NE(request, nullptr);
    EXPECT_TRUE(send_request(request, "A: 1\r\nB: 2"_gbk, {}));

    std::vector<std::size_t> counts;
    std::array<std::uint8_t, 1024> buffer{};
    std::size_t count = 0;
    do {
        EXPECT_TRUE(read_file(request, buffer.data(), buffer.size(), count));
        counts.push_back(count);
    } while (count != 0);
    EXPECT_EQ(counts, (std::vector<std::size_t>{1024, 1024, 452, 0}));

    const std::string block = "HTTP/1.1 200 OK\r\nContent-Length: 2500\r\nConnection: close\r\n\r\n";
    std::string small(10, '#');
    std::size_t length = small.size();
    EXPECT_FALSE(query_info(request, QueryLevel::raw_headers_crlf, small.data(), length));
    EXPECT_EQ(small, std::string(10, '#'));
    EXPECT_EQ(length, block.size() + 1);
    std::string fitting(block.size() + 1, '#');
    EXPECT_TRUE(query_info(request, QueryLevel::raw_headers_crlf, fitting.data(), length));
    EXPECT_EQ(fitting, block + '\0');
    EXPECT_EQ(length, block.size());

    const RawRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.head, "GET /p HTTP/1.1\r\nHost: " + std::string("127.0.0.1:") + std::to_string(server.port()) +
                             "\r\nUser-Agent: agent\r\nA: 1\r\nB: 2\r\n\r\n");
    close_handle(request);
    close_handle(connection);
    close_handle(session);
}

TEST(InternetApi, UnresolvableHostNameFailsAtSend)
{
    Handle* session = open("a"_gbk, AccessType::direct, {}, {}, 0);
    Handle* connection = connect(session, "user@127.0.0.1"_gbk, 80, {}, {}, Service::http, 0, 0);
    Handle* request = open_request(connection, "GET"_gbk, "/"_gbk, "HTTP/1.1"_gbk, {}, 0, 0);
    ASSERT_NE(request, nullptr);
    EXPECT_FALSE(send_request(request, {}, {}));
    std::size_t length = 100;
    char buffer[100];
    EXPECT_FALSE(query_info(request, QueryLevel::raw_headers_crlf, buffer, length));
    close_handle(request);
    close_handle(connection);
    close_handle(session);
}
