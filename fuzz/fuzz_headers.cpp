// Whole response header blocks as a server may send them, and header texts
// as a caller may pass them: the cookies collected, the agent name and the
// composed request headers keep their promises on any bytes.
#include "web/cookies.h"
#include "web/text.h"
#include "web/web_request.h"
#include "fuzz_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace pagora;
using pagora::fuzz::require;

namespace {

int count_lines_naming(const GbkText& block, std::string_view name)
{
    int lines = 0;
    for (const GbkText& line : text_split(block, "\r\n"_gbk))
        if (line.view().starts_with(name)) ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int verb_index = input.ConsumeIntegralInRange(-2, 9);
    std::optional<GbkText> cookies;
    if (input.ConsumeBool()) cookies = GbkText(input.ConsumeRandomLengthString(64));
    const GbkText url(input.ConsumeRandomLengthString(64));
    const GbkText block(input.ConsumeRemainingBytesAsString());

    // Cookies come only from Set-Cookie lines. (A lead byte of a two-byte
    // character takes the CR after it along, so a value may run on into the
    // next line: lines are split where characters begin.)
    const GbkText collected = collect_response_cookies(block);
    require(collected.size() <= block.size());
    const int set_cookie_lines = count_lines_naming(block, "Set-Cookie");
    if (set_cookie_lines == 0) require(collected.empty());

    web_request_steps::agent_name(block);
    const GbkText sent = web_request_steps::compose_headers(block, url, verb_index, cookies);
    require(sent.view().starts_with(block.view()));
    for (const char* name : {"Accept:", "Referer:", "Accept-Language:"})
        require(text_find(sent, GbkText(name)) != -1);
    return 0;
}
