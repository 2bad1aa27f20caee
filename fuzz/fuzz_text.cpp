// Text primitives and cutting routines on arbitrary bytes: no crash, no
// sanitizer report, and the results keep the promises the callers rely on.
#include "web/cutting.h"
#include "web/text.h"
#include "fuzz_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace pagora;
using pagora::fuzz::require;

namespace {

bool occurs_at(const GbkText& text, const GbkText& needle, int position)
{
    return position >= 1 && text.view().substr(static_cast<std::size_t>(position - 1), needle.size()) == needle.view();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const GbkText needle(input.ConsumeRandomLengthString(16));
    const GbkText other(input.ConsumeRandomLengthString(16));
    const int start = input.ConsumeIntegralInRange(-3, 300);
    const int count = input.ConsumeIntegralInRange(-3, 300);
    const GbkText text(input.ConsumeRemainingBytesAsString());
    const int n = static_cast<int>(text.size());

    const int found = text_find(text, needle, start);
    require(found == -1 || (found >= 1 && found <= n));
    if (found != -1 && !needle.empty()) require(occurs_at(text, needle, found) && found >= start);
    const int last = text_find_last(text, needle, start);
    require(last == -1 || (last >= 1 && last <= n));
    if (last != -1 && !needle.empty()) require(occurs_at(text, needle, last) && last - 1 + static_cast<int>(needle.size()) <= start - 1);
    const int folded = text_find(text, needle, start, true);
    require(folded == -1 || found == -1 || folded <= found);

    require(static_cast<int>(text_head(text, count).size()) == std::max(0, std::min(count, n)));
    require(static_cast<int>(text_tail(text, count).size()) == std::max(0, std::min(count, n)));
    require(text_slice(text, start, count).size() <= static_cast<std::size_t>(std::max(count, 0)));
    require(text.view().find(text_trim(text).view()) != std::string_view::npos);
    require(text_lower(text).size() == text.size());
    require(text_replace(text, needle, needle, true) == text);
    text_replace(text, needle, other, false);

    const TextArray pieces = text_split(text, needle);
    if (!needle.empty() && !text.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) joined += (i ? needle.bytes() : "") + pieces[i].bytes();
        // Only a trailing separator is not given back by the pieces.
        require(joined == text.bytes() || joined + needle.bytes() == text.bytes());
    }

    text_between(text, needle, other, start, count % 2 == 0);
    require(text.view().starts_with(text_before(text, needle, start).view()));
    header_value(text);
    index_of_item(pieces, other);
    const GbkText distinct = remove_duplicate_items(text, needle);
    require(distinct.size() <= text.size());
    require(remove_duplicate_items(distinct, needle).size() <= distinct.size());
    return 0;
}
