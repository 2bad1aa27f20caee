#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// A counted byte buffer: HTTP bodies and images. Empty bytes stand for
// "nothing received".
using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes_of(std::string_view data)
{
    return Bytes(data.begin(), data.end());
}

inline std::string_view as_chars(const Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace pagora
