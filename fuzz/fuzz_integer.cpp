// Reading a text as an integer: any bytes read without fault, and a number
// of any length, in half- or full-width digits, reads as its value or is held
// at the int limit, never wrapped round into nonsense.
#include "web/text_integer.h"
#include "fuzz_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace pagora;
using pagora::fuzz::require;

namespace {

// The value of a decimal digit string, held at the limits of int.
long long expected_value(const std::string& digits, bool negative)
{
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    const std::string significant = digits.substr(first);
    if (significant.size() > 10) return negative ? INT_MIN : INT_MAX;
    const long long magnitude = std::stoll(significant);
    const long long value = negative ? -magnitude : magnitude;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        read_integer(GbkText(input.ConsumeRemainingBytesAsString()));
        return 0;
    }

    // White space, a sign and digits, each in half or full width, then a
    // character that ends the number and whatever bytes follow.
    std::string text;
    const int spaces = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < spaces; ++i) text += input.ConsumeBool() ? " " : "\xA1\xA1";
    const int sign = input.ConsumeIntegralInRange(0, 2); // none, plus, minus
    if (sign != 0) text += input.ConsumeBool() ? (sign == 1 ? "+" : "-") : (sign == 1 ? "\xA3\xAB" : "\xA3\xAD");
    std::string digits;
    const int count = input.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < count; ++i) {
        const char digit = static_cast<char>('0' + input.ConsumeIntegralInRange(0, 9));
        digits += digit;
        if (input.ConsumeBool()) text += digit;
        else text += std::string("\xA3") + static_cast<char>(0xB0 + (digit - '0'));
    }
    text += "x" + input.ConsumeRemainingBytesAsString();

    require(read_integer(GbkText(text)) == expected_value(digits, sign == 2));
    return 0;
}
