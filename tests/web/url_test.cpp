#include "web/url.h"

#include <gtest/gtest.h>

#include <string>

using namespace pagora;

TEST(UrlParts, HostPortAndPathOfAddresses)
{
    const struct {
        std::string address, host, host_with_port;
        int port;
        std::string path;
    } cases[] = {
        {"http://Web.Example.com/a/b?x=1", "web.example.com", "web.example.com", 80, "/a/b?x=1"},
        {"HTTPS://Sub.Example.com:8443/p", "sub.example.com", "sub.example.com:8443", 8443, "/p"},
        {"web.example.com:8080", "web.example.com", "web.example.com:8080", 8080, "/"},
        {"https://a.b.c.example.com", "a.b.c.example.com", "a.b.c.example.com", 443, "/"},
        {"http://host", "host", "host", 80, "/"},
        {"ftp://x.y/z", "ftp", "ftp:", 0, "//x.y/z"},
        {"http://q:81x/p/Q", "q", "q:81x", 81, "/p/Q"},
        {"https:/x/y", "https", "https:", 0, "/x/y"},
        {"https:x", "https", "https:x", 0, "/"},
        {"HTTP://Dot.End./P", "dot.end.", "dot.end.", 80, "/P"},
        {"", "", "", 80, "/"},
        // The first "http://" anywhere is where the host begins.
        {"go?to=http://inner.host/x", "inner.host", "inner.host", 80, "/x"},
    };
    for (const auto& c : cases) {
        const GbkText address(c.address);
        EXPECT_EQ(url_host(address), GbkText(c.host)) << c.address;
        EXPECT_EQ(url_host(address, {.keep_port = true}), GbkText(c.host_with_port)) << c.address;
        EXPECT_EQ(url_port(address), c.port) << c.address;
        EXPECT_EQ(url_path(address), GbkText(c.path)) << c.address;
    }
}

TEST(UrlHost, MainDomainByScheme)
{
    EXPECT_EQ(url_host("http://web.example.com/"_gbk, {.main_domain = true}), "example.com"_gbk);
    EXPECT_EQ(url_host("localhost"_gbk, {.main_domain = true}), "localhost"_gbk);
    EXPECT_EQ(url_host("https://a.b.example.com:8443/x"_gbk, {.main_domain = true}), "example.com"_gbk);
    EXPECT_EQ(url_host("https://a.b.example.com:8443/x"_gbk, {.main_domain = true, .keep_port = true}),
              "example.com:8443"_gbk);
}

TEST(UrlHost, LabelCounting)
{
    const struct {
        std::string address;
        int extra_labels;
        bool main_domain, keep_port;
        std::string expected;
    } cases[] = {
        {"https://a.b.c.example.com", 0, false, false, "example.com"},
        {"https://a.b.c.example.com", 0, true, false, "com"},
        {"https://a.b.c.example.com", 1, false, false, "c.example.com"},
        {"https://a.b.c.example.com", 1, true, false, "example.com"},
        {"https://a.b.c.example.com", 2, false, false, "b.c.example.com"},
        {"https://a.b.c.example.com", -1, false, false, "example.com"},
        {"https://a.b.c.example.com", 9, false, false, "a.b.c.example.com"},
        {"a.b.example.com:8080/x", 0, false, false, "example.com"},
        {"a.b.example.com:8080/x", 0, false, true, "example.com:8080"},
        {"http://localhost/", 0, false, false, "localhost"},
        {"http://localhost/", 0, true, false, "localhost"},
        {"x.example.com.", 0, false, false, "example.com."}, // a final dot is not counted
    };
    for (const auto& c : cases) {
        const HostOptions options{.main_domain = c.main_domain, .keep_port = c.keep_port,
                                  .extra_labels = c.extra_labels};
        EXPECT_EQ(url_host(GbkText(c.address), options), GbkText(c.expected))
            << c.address << " with " << c.extra_labels;
    }
}
