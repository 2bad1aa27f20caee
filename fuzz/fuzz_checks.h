#pragma once

#include <cstddef>
#include <cstdlib>
#include <string_view>

// What the fuzz targets check their results with: a broken property aborts, so
// libFuzzer keeps the input that broke it.
namespace pagora::fuzz {

inline void require(bool condition)
{
    if (!condition) std::abort();
}

inline bool valid_utf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

} // namespace pagora::fuzz
