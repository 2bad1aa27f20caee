#include "download/safe_name.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

TEST(SafeNameComponent, TurnsATitleIntoOneHarmlessName)
{
    struct Case {
        const char* what;
        GbkText title;
        std::string name;
    };
    const Case cases[] = {
        {"plain ASCII", "Plain Title 2024"_gbk, "Plain Title 2024"},
        {"GBK becomes UTF-8", GbkText("\xD6\xD0\xCE\xC4 1"), "中文 1"},
        {"slashes", "../../etc/passwd"_gbk, ".._.._etc_passwd"},
        {"backslashes", "a\\b\\c"_gbk, "a_b_c"},
        {"characters Windows refuses", "a:b*c?d\"e<f>g|h"_gbk, "a_b_c_d_e_f_g_h"},
        {"control characters", GbkText(std::string("a\tb\nc\x7F" "d\x01", 8)), "a_b_c_d_"},
        {"a NUL byte", GbkText(std::string("a\0b", 3)), "a_b"},
        {"dot", "."_gbk, "_"},
        {"dot dot", ".."_gbk, "__"},
        {"dots inside stay", "v1.2...final"_gbk, "v1.2...final"},
        {"empty stays empty", ""_gbk, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(safe_name_component(c.title), c.name) << c.what;
}

TEST(SafeNameComponent, ShortensAnOverlongTitleOnACharacterBoundary)
{
    // 中 is two GBK bytes and three UTF-8 bytes, so the cut falls inside a
    // character unless it is moved back.
    std::string gbk;
    for (int i = 0; i < 200; ++i) gbk += "\xD6\xD0";
    const std::string name = safe_name_component(GbkText(gbk));
    EXPECT_LE(name.size() + std::string(".pdf").size() + 7, 255u);
    EXPECT_GE(name.size(), 240u);
    EXPECT_EQ(name.size() % 3, 0u) << "a character was cut in two";
    EXPECT_EQ(name.substr(0, 6), "中中");

    const std::string ascii(400, 'x');
    EXPECT_EQ(safe_name_component(GbkText(ascii)), std::string(244, 'x'));
}

} // namespace
} // namespace pagora
