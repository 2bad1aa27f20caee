#include "web/cookies.h"

#include "web/cutting.h"
#include "web/text.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace pagora {
namespace {

bool is_deleted(const GbkText& item)
{
    return text_tail(item, 8) == "=deleted"_gbk;
}

} // namespace

GbkText collect_response_cookies(const GbkText& raw_headers)
{
    std::string cookies;
    for (const GbkText& line : text_split(raw_headers, "\r\n"_gbk)) {
        if (text_before(line, ": "_gbk) != "Set-Cookie"_gbk) continue;
        const GbkText value = text_find(line, ";"_gbk) != -1
                                  ? text_between(line, "Set-Cookie:"_gbk, ";"_gbk)
                                  : text_replace(line, "Set-Cookie:"_gbk, {}, false);
        cookies += text_trim(value).bytes();
        cookies += "; ";
    }
    if (cookies.size() >= 2) cookies.resize(cookies.size() - 2);
    return GbkText(std::move(cookies));
}

GbkText cookie_name(const GbkText& item)
{
    const int equals = text_find(item, "="_gbk);
    return text_trim(equals != -1 ? text_head(item, equals - 1) : item);
}

bool has_cookie_name(const TextArray& items, const GbkText& name)
{
    for (const GbkText& item : items)
        if (cookie_name(item) == name) return true;
    return false;
}

GbkText merge_cookies(GbkText& old_cookies, GbkText& new_cookies)
{
    old_cookies = text_trim(old_cookies);
    new_cookies = text_trim(new_cookies);

    TextArray merged = text_split(new_cookies, ";"_gbk);
    // The names the growing list carries, kept in a set so long cookie texts
    // stay linear; the same as asking has_cookie_name of the list.
    std::unordered_set<std::string> names;
    for (const GbkText& item : merged) names.insert(cookie_name(item).bytes());
    for (const GbkText& item : text_split(old_cookies, ";"_gbk)) {
        if (names.insert(cookie_name(item).bytes()).second) merged.push_back(item);
    }

    std::string joined;
    for (const GbkText& item : merged) {
        if (is_deleted(item)) continue;
        joined += item.bytes();
        joined += ';';
    }
    if (!joined.empty()) joined.pop_back();
    old_cookies = remove_duplicate_items(GbkText(std::move(joined)), ";"_gbk);
    return old_cookies;
}

} // namespace pagora
