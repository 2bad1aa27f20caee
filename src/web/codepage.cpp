#include "web/codepage.h"

#include <cerrno>
#include <cstddef>
#include <iconv.h>

namespace pagora {
namespace {

// Length of the UTF-8 sequence that starts at `in`, or 0 when it is malformed,
// so an unconvertible but well-formed character is skipped whole.
std::size_t utf8_sequence_length(const unsigned char* in, std::size_t left)
{
    const unsigned char lead = in[0];
    std::size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    if (left < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((in[i] & 0xC0) != 0x80) return 0;
    }
    return length;
}

// Runs iconv over the whole input; at every byte it cannot take, `skip` says how
// many input bytes to drop and `replacement` what to emit instead.
template <typename SkipRule>
std::string convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, SkipRule skip)
{
    std::string output;
    if (input.empty()) return output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return output;

    output.resize(input.size() * 2 + 16);
    auto* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    std::size_t written = 0;
    while (in_left > 0) {
        char* out = output.data() + written;
        std::size_t out_left = output.size() - written;
        const std::size_t result = iconv(cd, &in, &in_left, &out, &out_left);
        written = output.size() - out_left;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: an input sequence the target cannot hold or that is
        // malformed or cut short at the end.
        std::size_t drop = skip(reinterpret_cast<const unsigned char*>(in), in_left);
        if (drop == 0 || drop > in_left) drop = 1;
        in += drop;
        in_left -= drop;
        if (output.size() - written < replacement.size()) output.resize(output.size() * 2);
        output.replace(written, replacement.size(), replacement);
        written += replacement.size();
    }
    iconv_close(cd);
    output.resize(written);
    return output;
}

} // namespace

GbkText utf8_to_gbk(std::string_view utf8)
{
    if (const auto nul = utf8.find('\0'); nul != std::string_view::npos) utf8 = utf8.substr(0, nul);
    return GbkText(convert("CP936", "UTF-8", utf8, "?", utf8_sequence_length));
}

GbkText utf8_to_gbk(const Bytes& body)
{
    return utf8_to_gbk(as_chars(body));
}

std::string gbk_to_utf8(const GbkText& text)
{
    // A malformed pair is dropped one byte at a time, so one bad lead byte does
    // not swallow the ASCII byte after it.
    return convert("UTF-8", "CP936", text.view(), "\xEF\xBF\xBD",
                   [](const unsigned char*, std::size_t) { return std::size_t{1}; });
}

} // namespace pagora
