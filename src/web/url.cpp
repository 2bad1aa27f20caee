#include "web/url.h"

#include "web/cutting.h"
#include "web/text.h"
#include "web/text_integer.h"

namespace pagora {
namespace {

GbkText host_after_scheme(GbkText u, bool main_domain)
{
    if (u.empty() || u.bytes().back() != '/') u += "/"_gbk;
    if (text_head(u, 8) == "https://"_gbk) {
        u = text_between(u, "https://"_gbk, "/"_gbk);
    } else {
        if (text_find(u, "http://"_gbk) == -1) u = "http://"_gbk + u;
        u = text_between(u, "http://"_gbk, "/"_gbk);
    }
    if (main_domain) {
        const TextArray labels = text_split(u, "."_gbk);
        if (labels.size() >= 2) u = labels[labels.size() - 2] + "."_gbk + labels.back();
    }
    return u;
}

GbkText host_by_label_count(GbkText u, bool main_domain, int extra_labels)
{
    u = text_replace(u, "http://"_gbk, {}, true);
    u = text_replace(u, "https://"_gbk, {}, true);
    if (text_find(u, "/"_gbk) != -1) u = text_before(u, "/"_gbk);

    const int length = static_cast<int>(u.size());
    int dot = length;
    for (int i = 0; i < extra_labels; ++i) dot = text_find_last(u, "."_gbk, dot);
    const int last_dot = text_find_last(u, "."_gbk, dot);
    if (main_domain) return text_tail(u, length - last_dot);
    if (last_dot != -1) {
        const int dot_before = text_find_last(u, "."_gbk, last_dot);
        if (dot_before != -1) return text_tail(u, length - dot_before);
    }
    return u;
}

} // namespace

GbkText url_host(const GbkText& address, const HostOptions& options)
{
    const GbkText lowered = text_lower(address);
    const GbkText host = options.extra_labels
                             ? host_by_label_count(lowered, options.main_domain, *options.extra_labels)
                             : host_after_scheme(lowered, options.main_domain);
    if (options.keep_port || text_find(host, ":"_gbk) == -1) return host;
    return text_before(host, ":"_gbk);
}

int url_port(const GbkText& address)
{
    const GbkText host = url_host(address, {.keep_port = true});
    const int colon = text_find_last(host, ":"_gbk);
    if (colon != -1) return read_integer(text_tail(host, static_cast<int>(host.size()) - colon));
    return text_head(text_lower(address), 5) == "https"_gbk ? 443 : 80;
}

GbkText url_path(const GbkText& address)
{
    const GbkText host = url_host(address);
    const int host_at = text_find(address, host, 1, true);
    const int slash = text_find(address, "/"_gbk, host_at, true);
    if (slash <= 0) return "/"_gbk;
    return text_tail(address, static_cast<int>(address.size()) - slash + 1);
}

} // namespace pagora
