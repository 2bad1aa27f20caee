// UTF-8 bodies of any bytes into code page 936 and back: the conversion never
// fails as a whole, never grows the text, stops at a NUL byte, and what it
// yields is code page 936 that converts back to valid UTF-8 and returns.
#include "web/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace pagora;

namespace {

void require(bool condition)
{
    if (!condition) std::abort();
}

bool valid_utf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                            : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        const auto second = static_cast<unsigned char>(s[i + 1 < s.size() ? i + 1 : i]);
        if (lead == 0xE0 && second < 0xA0) return false; // overlong
        if (lead == 0xED && second > 0x9F) return false; // surrogate
        if (lead == 0xF0 && second < 0x90) return false; // overlong
        if (lead == 0xF4 && second > 0x8F) return false; // beyond U+10FFFF
        i += length;
    }
    return true;
}

} // namespace

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
