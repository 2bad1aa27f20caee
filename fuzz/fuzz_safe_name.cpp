// Turning a title from a web page into a file name: whatever the title, the
// name is one component that stays inside its folder.
#include "download/safe_name.h"

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
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const GbkText title(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string name = safe_name_component(title);

    require(name.empty() == title.empty());
    require(name.size() <= 244);
    require(name != "." && name != "..");
    require(valid_utf8(name));
    for (const unsigned char c : name) require(c >= 0x20 && c != 0x7F && c != '/' && c != '\\');
    return 0;
}
