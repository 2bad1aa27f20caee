#include "web/text_integer.h"

#include <gtest/gtest.h>

#include <climits>

using namespace pagora;

TEST(ReadInteger, ReadsLikeANumberBox)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"12", 12},
        {"12\xD2\xB3", 12},              // "12页"
        {"  -3", -3},
        {"+7x", 7},
        {"\xA3\xB1\xA3\xB2", 12},        // full-width "１２"
        {"\xA1\xA1\xA3\xAD\xA3\xB5", -5}, // full-width space, minus, five
        {"\t\r\n 8", 8},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"- 5", 0},
        {"\xD2\xB3" "5", 0},             // a character before the digits
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"007", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(read_integer(GbkText(c.text)), c.value) << c.text;
}
