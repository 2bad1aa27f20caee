// Turning a title from a web page into a file name: whatever the title, the
// name is one component that stays inside its folder.
#include "download/safe_name.h"
#include "fuzz_checks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace pagora;
using pagora::fuzz::require;
using pagora::fuzz::valid_utf8;

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
