#include "web/codepage.h"

#include <gtest/gtest.h>

#include <string>

using namespace pagora;

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::string gbk;
};

class Utf8ToGbk : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToGbk, ConvertsAndReplacesWhatItCannotTake)
{
    EXPECT_EQ(utf8_to_gbk(bytes_of(GetParam().utf8)), GbkText(GetParam().gbk));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToGbk,
    ::testing::Values(
        Utf8Case{"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        Utf8Case{"Empty", "", ""},
        Utf8Case{"Ascii", "title: \"x\",\r\n", "title: \"x\",\r\n"},
        Utf8Case{"NulEndsTheText", std::string("ab\0cd", 5), "ab"},
        Utf8Case{"LeadingNulGivesEmpty", std::string("\0abc", 4), ""},
        // U+1F600 has no place in code page 936: one "?" for the whole character.
        Utf8Case{"UnmappableCharacter", "a\xF0\x9F\x98\x80" "b", "a?b"},
        Utf8Case{"StrayContinuationByte", "a\x80" "b", "a?b"},
        Utf8Case{"LeadByteCutShortAtEnd", "ab\xE4\xB8", "ab??"},
        Utf8Case{"OverlongSlash", "\xC0\xAF" "x", "??x"},
        Utf8Case{"EuroSign", "\xE2\x82\xAC", "\x80"},
        Utf8Case{"FullWidthSpace", "\xE3\x80\x80", "\xA1\xA1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GbkToUtf8, RoundTripsAndMarksBrokenPairs)
{
    EXPECT_EQ(gbk_to_utf8(GbkText("\xD6\xD0\xCE\xC4")), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(gbk_to_utf8(GbkText("")), "");
    // A lead byte with nothing after it: replaced, the text before it kept.
    EXPECT_EQ(gbk_to_utf8(GbkText("ab\xD6")), "ab\xEF\xBF\xBD");
}

TEST(Utf8ToGbk, LargePageConvertsWhole)
{
    std::string page;
    for (int i = 0; i < 100000; ++i) page += "\xE4\xB8\xAD" "a\r\n";
    const GbkText text = utf8_to_gbk(bytes_of(page));
    ASSERT_EQ(text.size(), 100000u * 5);
    EXPECT_EQ(text.view().substr(0, 5), "\xD6\xD0" "a\r\n");
}

} // namespace
