#include "web/internet_api.h"
#include "web/web_request.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace pagora;
using namespace pagora::web_request_steps;

TEST(WebRequestSteps, VerbFromIndex)
{
    const struct {
        int index;
        const char* verb;
    } cases[] = {{0, "GET"},     {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "OPTIONS"},
                 {5, "DELETE"},  {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}, {-1, "GET"}};
    for (const auto& c : cases) EXPECT_EQ(verb(c.index), GbkText(c.verb)) << c.index;
}

TEST(WebRequestSteps, SecureAddressFlagsAndProxyText)
{
    EXPECT_TRUE(is_secure_address("HTTPS://x"_gbk));
    EXPECT_TRUE(is_secure_address("https://x"_gbk));
    EXPECT_FALSE(is_secure_address("https:x/y"_gbk));
    EXPECT_FALSE(is_secure_address("http://x"_gbk));
    EXPECT_FALSE(is_secure_address("x.com/https://"_gbk));

    EXPECT_EQ(proxy_text("p:8080"_gbk, true), "p:8080"_gbk);
    EXPECT_EQ(proxy_text("p:8080"_gbk, false), "http=p:8080"_gbk);

    const struct {
        bool cookies, block_redirect, secure;
        std::uint32_t flags;
    } cases[] = {
        {false, false, false, 0x80000000u | 0x10 | 0x4000},
        {true, false, false, 0x80000000u | 0x10 | 0x80000 | 0x4000},
        {false, true, false, 0x80000000u | 0x10 | 0x200000 | 0x4000},
        {false, false, true, 0x80000000u | 0x10 | 0x800000},
        {true, true, true, 0x80000000u | 0x10 | 0x80000 | 0x200000 | 0x800000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(request_flags(c.cookies, c.block_redirect, c.secure), c.flags) << c.cookies << c.block_redirect << c.secure;
}

TEST(WebRequestSteps, AgentNameFromTheExtraHeaders)
{
    const struct {
        std::string headers, agent;
    } cases[] = {
        {"", default_agent_name},
        {"X-A: b", default_agent_name},
        {"User-Agent: Y", "Y"},
        {"Accept: a\r\nUser-Agent:  Y z \r\nX: 1", "Y z"},
        // Another letter case is found, but only the fallback reads it: the
        // text after the first colon of the whole header text.
        {"user-agent: X", "X"},
        {"Accept: a\r\nuser-agent: X", "a\r\nuser-agent: X"},
        {"User-Agent:", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(agent_name(GbkText(c.headers)), GbkText(c.agent)) << c.headers;
}

TEST(WebRequestSteps, HeaderComposition)
{
    const std::string url = "http://h/p";
    const struct {
        std::string headers;
        int verb_index;
        std::optional<std::string> cookies;
        std::string composed;
    } cases[] = {
        {"", 0, std::nullopt, "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
        {"X-Accept: a", 0, std::nullopt, "X-Accept: a\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
        {"Referer: r", 0, std::nullopt, "Referer: r\r\nAccept: */*\r\nAccept-Language: zh-cn"},
        {"Accept-Language: en\r\n", 0, std::nullopt,
         "Accept-Language: en\r\n\r\nAccept: */*\r\nReferer: http://h/p"},
        {"", 1, std::nullopt,
         "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded"},
        {"Content-Type: text/plain", 1, std::nullopt,
         "Content-Type: text/plain\r\nAccept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
        {"", 3, std::nullopt, "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
        {"", 0, "a=1; b=2", "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn\r\nCookie: a=1; b=2"},
        {"", 0, "Cookie: a=1", "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn\r\nCookie: a=1"},
        {"", 0, "", "Accept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
    };
    for (const auto& c : cases) {
        const std::optional<GbkText> cookies =
            c.cookies ? std::optional<GbkText>(GbkText(*c.cookies)) : std::nullopt;
        EXPECT_EQ(compose_headers(GbkText(c.headers), GbkText(url), c.verb_index, cookies), GbkText(c.composed))
            << c.headers;
    }
}
