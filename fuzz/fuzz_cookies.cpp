// Cookie routines on arbitrary bytes: merged texts carry no deleted cookie and
// no repeated item, and the variables are written as promised.
#include "web/cookies.h"
#include "web/text.h"
#include "fuzz_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>

using namespace pagora;
using pagora::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    GbkText old_cookies(input.ConsumeRandomLengthString(64));
    GbkText new_cookies(input.ConsumeRandomLengthString(64));
    const GbkText headers(input.ConsumeRemainingBytesAsString());

    collect_response_cookies(headers);
    cookie_name(new_cookies);
    has_cookie_name(text_split(old_cookies, ";"_gbk), new_cookies);

    const GbkText trimmed_new = text_trim(new_cookies);
    const GbkText merged = merge_cookies(old_cookies, new_cookies);
    require(old_cookies == merged);
    require(new_cookies == trimmed_new);
    std::set<GbkText> seen;
    for (const GbkText& item : text_split(merged, ";"_gbk)) {
        require(text_tail(item, 8) != "=deleted"_gbk);
        require(seen.insert(item).second);
    }
    return 0;
}
