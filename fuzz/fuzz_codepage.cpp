// UTF-8 bodies of any bytes into code page 936 and back: the conversion never
// fails as a whole, never grows the text, stops at a NUL byte, and what it
// yields is code page 936 that converts back to valid UTF-8 and returns.
#include "web/codepage.h"
#include "fuzz_checks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace pagora;
using pagora::fuzz::require;
using pagora::fuzz::valid_utf8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::string_view before_nul = body.substr(0, body.find('\0'));

    const GbkText text = utf8_to_gbk(body);
    require(text.view().find('\0') == std::string_view::npos);
    require(text.size() <= before_nul.size());
    bool all_ascii = true;
    for (unsigned char c : before_nul) all_ascii = all_ascii && c < 0x80;
    if (all_ascii) require(text.view() == before_nul);

    const std::string back = gbk_to_utf8(text);
    require(valid_utf8(back));
    require(utf8_to_gbk(back) == text);
    require(valid_utf8(gbk_to_utf8(GbkText(body))));
    return 0;
}
