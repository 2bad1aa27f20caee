#include "web/cutting.h"

#include "web/text.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace pagora {
namespace {

// "#引号" in code page 936: the marker authors write for a double quote.
const GbkText quote_placeholder("#\xD2\xFD\xBA\xC5");

GbkText with_quotes(const GbkText& marker)
{
    return text_replace(marker, quote_placeholder, GbkText("\""), true);
}

} // namespace

GbkText text_between(const GbkText& text, const GbkText& left_marker, const GbkText& right_marker,
                     std::optional<int> start_position, bool ignore_case)
{
    const GbkText left = with_quotes(left_marker);
    const GbkText right = with_quotes(right_marker);
    const int left_at = text_find(text, left, start_position, ignore_case);
    if (left_at == -1) return {};
    const int after_left = left_at + static_cast<int>(left.size());
    const int right_at = text_find(text, right, after_left, ignore_case);
    if (right_at == -1) return {};
    return text_slice(text, after_left, right_at - after_left);
}

GbkText text_before(const GbkText& text, const GbkText& marker, std::optional<int> start_position,
                    bool ignore_case)
{
    const int start = start_position.value_or(1) <= 0 ? 1 : start_position.value_or(1);
    const int found = text_find(text, marker, start, ignore_case);
    if (found == -1) return {};
    return text_head(text, found - 1);
}

GbkText header_value(const GbkText& line)
{
    const int colon = text_find(line, GbkText(":"));
    if (colon == -1) return {};
    return text_trim(text_tail(line, static_cast<int>(line.size()) - colon));
}

int index_of_item(const TextArray& items, const GbkText& text)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i) + 1;
    return -1;
}

GbkText remove_duplicate_items(const GbkText& text, const GbkText& separator)
{
    // A set of the items taken keeps long lists linear; the result is the same
    // as looking each item up in the list taken so far.
    std::unordered_set<std::string_view> taken;
    std::string out;
    const TextArray items = text_split(text, separator);
    for (const GbkText& item : items) {
        if (!taken.insert(item.view()).second) continue;
        out += item.bytes();
        out += separator.bytes();
    }
    out.resize(out.size() >= separator.size() ? out.size() - separator.size() : 0);
    return GbkText(std::move(out));
}

} // namespace pagora
