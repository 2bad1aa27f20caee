// Cutting a value out of a whole page between two markers: the value is what
// lies between them in the page, and for markers without the quote stand-in
// it is the same as the general cutting routine's.
#include "book/extract_between.h"
#include "web/cutting.h"
#include "fuzz_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

using namespace pagora;
using pagora::fuzz::require;

namespace {

// "#引号" in code page 936: the cutting routine's stand-in for a quote.
constexpr std::string_view quote_stand_in = "#\xD2\xFD\xBA\xC5";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const GbkText left(input.ConsumeRandomLengthString(24));
    const GbkText right(input.ConsumeRandomLengthString(24));
    const GbkText page(input.ConsumeRemainingBytesAsString());

    const GbkText value = extract_between(page, left, right);
    if (!value.empty()) require(page.view().find((left + value + right).view()) != std::string_view::npos);
    if (right.empty()) require(value.empty());
    if (left.view().find(quote_stand_in) == std::string_view::npos &&
        right.view().find(quote_stand_in) == std::string_view::npos)
        require(value == text_between(page, left, right));
    return 0;
}
