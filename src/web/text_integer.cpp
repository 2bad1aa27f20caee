#include "web/text_integer.h"

#include <climits>
#include <cstddef>

namespace pagora {
namespace {

// Full-width forms in code page 936: digits A3 B0..A3 B9, plus A3 AB, minus
// A3 AD, the ideographic space A1 A1.
constexpr unsigned char full_width_lead = 0xA3;
constexpr unsigned char full_width_space_lead = 0xA1;

// The half-width byte a character at `at` stands for, and its length in bytes.
struct Character {
    char half_width;
    std::size_t length;
};

Character character_at(const GbkText& text, std::size_t at)
{
    const unsigned char byte = text.byte(at);
    if (byte < 0x80) return {static_cast<char>(byte), 1};
    if (at + 1 >= text.size()) return {'\0', 1};
    const unsigned char trail = text.byte(at + 1);
    if (byte == full_width_lead && trail >= 0xB0 && trail <= 0xB9)
        return {static_cast<char>('0' + (trail - 0xB0)), 2};
    if (byte == full_width_lead && trail == 0xAB) return {'+', 2};
    if (byte == full_width_lead && trail == 0xAD) return {'-', 2};
    if (byte == full_width_space_lead && trail == 0xA1) return {' ', 2};
    return {'\0', 2};
}

bool is_white_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

int read_integer(const GbkText& text)
{
    std::size_t at = 0;
    Character c{};
    while (at < text.size() && is_white_space((c = character_at(text, at)).half_width))
        at += c.length;
    if (at >= text.size()) return 0;

    bool negative = false;
    c = character_at(text, at);
    if (c.half_width == '+' || c.half_width == '-') {
        negative = c.half_width == '-';
        at += c.length;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    while (at < text.size()) {
        c = character_at(text, at);
        if (c.half_width < '0' || c.half_width > '9') break;
        value = value * 10 + (c.half_width - '0');
        if (value > limit) value = limit; // saturate, keep reading the digits
        at += c.length;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace pagora
