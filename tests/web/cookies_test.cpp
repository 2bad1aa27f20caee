#include "web/cookies.h"

#include <gtest/gtest.h>

#include <string>

using namespace pagora;

TEST(CollectResponseCookies, TakesNameAndValueOfSetCookieLines)
{
    const struct {
        std::string headers, expected;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n"
         "Set-Cookie: sid=abc; path=/; HttpOnly\r\n"
         "Set-Cookie: lang=zh\r\n"
         "set-cookie: x=1; path=/\r\n"
         "Set-Cookie: old=deleted; path=/\r\n"
         "Set-Cookie:nospace=1; path=/\r\n"
         "\r\n",
         "sid=abc; lang=zh; old=deleted"},
        {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", ""},
        {"", ""},
        {std::string(5000, ' '), ""},
        {"Set-Cookie: a=1\r\nSet-Cookie: a=2\r\nSet-Cookie: \r\n", "a=1; a=2; "},
        {"Set-Cookie: Set-Cookie: a=1", "a=1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(collect_response_cookies(GbkText(c.headers)), GbkText(c.expected)) << GbkText(c.headers);
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals)
{
    EXPECT_EQ(cookie_name(" b=2"_gbk), "b"_gbk);
    EXPECT_EQ(cookie_name("flag"_gbk), "flag"_gbk);
    EXPECT_EQ(cookie_name("=x"_gbk), ""_gbk);
    EXPECT_EQ(cookie_name("a=b=c"_gbk), "a"_gbk);
    EXPECT_TRUE(has_cookie_name({"a=1"_gbk, " b=2"_gbk}, "b"_gbk));
    EXPECT_FALSE(has_cookie_name({"a=1"_gbk, " b=2"_gbk}, "B"_gbk));
    EXPECT_FALSE(has_cookie_name({}, ""_gbk));
}

TEST(MergeCookies, NewerValuesWinAndDeletedOnesGo)
{
    const struct {
        std::string old_cookies, new_cookies, merged, new_after;
    } cases[] = {
        {"a=1; b=2", "b=3; c=4", "b=3; c=4;a=1", "b=3; c=4"},
        {"a=1; b=2", "b=deleted; c=4", " c=4;a=1", "b=deleted; c=4"},
        {"", "a=1; b=2", "a=1; b=2", "a=1; b=2"},
        {"a=1; a=2; c=3", "", "a=1; c=3", ""},
        {"  a=1 ", "d=4", "d=4;a=1", "d=4"},
        {"", "", "", ""},
        {"", "  x=1;x=1  ", "x=1", "x=1;x=1"},
        {"gone=deleted", "", "", ""},
    };
    for (const auto& c : cases) {
        GbkText old_cookies(c.old_cookies);
        GbkText new_cookies(c.new_cookies);
        const GbkText merged = merge_cookies(old_cookies, new_cookies);
        EXPECT_EQ(merged, GbkText(c.merged)) << c.old_cookies << " + " << c.new_cookies;
        EXPECT_EQ(old_cookies, merged);
        EXPECT_EQ(new_cookies, GbkText(c.new_after));
    }
}
