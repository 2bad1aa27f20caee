#include "web/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

using namespace pagora;

namespace {

// "中" in code page 936 is D6 D0; "啊" is B0 A1, whose second byte is also the
// lead byte of the full-width space A1 A1.
const std::string zhong = "\xD6\xD0";

} // namespace

TEST(TextFind, FollowsThePositionRules)
{
    const struct {
        std::string text, needle;
        std::optional<int> start;
        bool ignore_case;
        int expected;
    } cases[] = {
        {"abcabc", "c", 4, false, 6},
        {"abcabc", "c", 7, false, -1},
        {"abcabc", "c", 0, false, 3},
        {"abcabc", "c", std::nullopt, false, 3},
        {"abcabc", "c", -5, false, 3},
        {"abc", "", std::nullopt, false, 1},
        {"", "", std::nullopt, false, -1},
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, -1},
        {"abc", "abcd", std::nullopt, false, -1},
        {"User-Agent: x", "user-agent:", std::nullopt, true, 1},
        {"User-Agent: x", "user-agent:", std::nullopt, false, -1},
        {"x\xC4\xE3", "\xC4\xE3", std::nullopt, true, 2},  // only ASCII folds
        {"x\xE4\xE3", "\xC4\xE3", std::nullopt, true, -1},
        // "啊" (B0 A1) then "a": A1 is a trail byte and never starts a match.
        {"\xB0\xA1" "a", "\xA1", std::nullopt, false, -1},
        {zhong + "\xD0" "a", "\xD0", std::nullopt, false, 3},
        {zhong + "ab", "b", std::nullopt, false, 4},
        // Stepping is counted from the start position: from 2 the trail byte
        // of the first character is where the scan begins.
        {zhong + "ab", "\xD0" "a", 2, false, 2},
        {"aaab", "aab", std::nullopt, false, 2},
        {"x\x81", "\x81", std::nullopt, false, -1}, // a lead byte at the end ends the scan
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_find(GbkText(c.text), GbkText(c.needle), c.start, c.ignore_case), c.expected)
            << GbkText(c.text) << " / " << GbkText(c.needle) << " from " << c.start.value_or(-99);
    }
}

TEST(TextFindLast, CountsOnlyMatchesEndingBeforeTheStart)
{
    const struct {
        std::string text, needle;
        std::optional<int> start;
        bool ignore_case;
        int expected;
    } cases[] = {
        {"a.b.c", ".", std::nullopt, false, 4},
        {"a.b.c", ".", 4, false, 2},
        {"a.b.c", ".", 2, false, -1},
        {"a.b.c", ".", 1, false, -1},
        {"a.b.c", ".", 99, false, 4},
        {"a.b.", ".", 4, false, 2},       // a dot that is the last byte is not before position 4
        {"a.b.", ".", 5, false, 4},
        {"abab", "ab", 4, false, 1},      // the second "ab" ends at 4, not before it
        {"aaaa", "aa", std::nullopt, false, 3}, // overlapping matches count
        {"ABab", "ab", std::nullopt, true, 3},
        {"abc", "", std::nullopt, false, 1},
        {"", "", std::nullopt, false, -1},
        {"\xB0\xA1" "b", "\xA1", std::nullopt, false, -1},
        // The lead byte just before the limit still begins a whole character.
        {"a\x81\x82", "\x81", 3, false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_find_last(GbkText(c.text), GbkText(c.needle), c.start, c.ignore_case), c.expected)
            << GbkText(c.text) << " / " << GbkText(c.needle) << " before " << c.start.value_or(-99);
    }
}

TEST(TextCounting, HeadTailAndSliceCountPlainBytes)
{
    const GbkText text("ab" + zhong + "c");
    EXPECT_EQ(text_head(text, 0), ""_gbk);
    EXPECT_EQ(text_head(text, -1), ""_gbk);
    EXPECT_EQ(text_head(text, 3), GbkText("ab\xD6"));
    EXPECT_EQ(text_head(text, 99), text);
    EXPECT_EQ(text_tail(text, 2), GbkText("\xD0" "c"));
    EXPECT_EQ(text_tail(text, 0), ""_gbk);
    EXPECT_EQ(text_tail(text, 5), text);
    EXPECT_EQ(text_slice(text, 2, 2), GbkText("b\xD6"));
    EXPECT_EQ(text_slice(text, 4, 99), GbkText("\xD0" "c"));
    EXPECT_EQ(text_slice(text, 0, 2), ""_gbk);
    EXPECT_EQ(text_slice(text, 6, 1), ""_gbk);
    EXPECT_EQ(text_slice(text, 5, 1), "c"_gbk);
    EXPECT_EQ(text_slice(text, 1, 0), ""_gbk);
}

TEST(TextTrim, RemovesHalfAndFullWidthSpacesOnly)
{
    const struct {
        std::string text, expected;
    } cases[] = {
        {"  a b  ", "a b"},
        {"\xA1\xA1" "a\xA1\xA1", "a"},
        {"a\r\n", "a\r\n"},
        {"\ta ", "\ta"},
        {"   ", ""},
        {"", ""},
        // "啊" (B0 A1) and a lone A1: the last two bytes are A1 A1 but no
        // full-width space, so nothing goes.
        {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        {" \xA1\xA1\xA1\xA1x\xA1", "x\xA1"},
    };
    for (const auto& c : cases) EXPECT_EQ(text_trim(GbkText(c.text)), GbkText(c.expected)) << GbkText(c.text);
}

TEST(TextLower, ChangesOnlyAsciiLettersAtCharacterStarts)
{
    // A trail byte in the A-Z range is part of its character and stays; the
    // full-width "Ｚ" (A3 DA) is no ASCII letter.
    EXPECT_EQ(text_lower("HeLLo-Z09"_gbk), "hello-z09"_gbk);
    EXPECT_EQ(text_lower(GbkText("\xB0" "AB")), GbkText("\xB0" "Ab"));
    EXPECT_EQ(text_lower(GbkText("A\xA3\xDA")), GbkText("a\xA3\xDA"));
    EXPECT_EQ(text_lower(GbkText("X\x81")), GbkText("x\x81"));
}

TEST(TextReplace, ReplacesWithoutOverlapOrRescanning)
{
    const struct {
        std::string text, find, replacement;
        bool case_sensitive;
        std::string expected;
    } cases[] = {
        {"aaaa", "aa", "a", true, "aa"},
        {"abcabc", "b", "", true, "acac"},
        {"Set-Cookie: a", "set-cookie:", "", false, " a"},
        {"Set-Cookie: a", "set-cookie:", "", true, "Set-Cookie: a"},
        {"xax", "a", "aa", true, "xaax"},        // the replacement is not scanned again
        {"", "a", "b", true, ""},
        {"abc", "", "z", true, "abc"},
        {"\xB0\xA1" "A\xA1\xA1", "\xA1", "-", true, "\xB0\xA1" "A-\xA1"},
        {zhong + zhong, zhong, "z", true, "zz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_replace(GbkText(c.text), GbkText(c.find), GbkText(c.replacement), c.case_sensitive),
                  GbkText(c.expected))
            << GbkText(c.text);
    }
}

TEST(TextSplit, MakesPiecesBetweenSeparators)
{
    const struct {
        std::string text, separator;
        TextArray expected;
    } cases[] = {
        {"a;;b;", ";", {"a"_gbk, ""_gbk, "b"_gbk}},
        {";a", ";", {""_gbk, "a"_gbk}},
        {"", ";", {}},
        {"abc", "", {"abc"_gbk}},
        {"abc", ";", {"abc"_gbk}},
        {"a\r\nb\r\n\r\n", "\r\n", {"a"_gbk, "b"_gbk, ""_gbk}},
        {"a;;;b", ";;", {"a"_gbk, ";b"_gbk}},
        // ";" hidden as a trail byte (81 3B) does not split.
        {"x\x81;y;z", ";", {GbkText("x\x81;y"), "z"_gbk}},
    };
    for (const auto& c : cases) EXPECT_EQ(text_split(GbkText(c.text), GbkText(c.separator)), c.expected) << GbkText(c.text);
}

// A repetitive 10 MB text with a needle that nearly matches everywhere is the
// case that makes a naive search quadratic; this one finishes in a blink.
TEST(TextSearchCost, StaysLinearOnRepetitiveText)
{
    const std::string text(10'000'000, 'a');
    const GbkText big(text + "b");
    const GbkText needle(std::string(5000, 'a') + "b");
    EXPECT_EQ(text_find(big, needle), static_cast<int>(text.size()) - 5000 + 1);
    EXPECT_EQ(text_find_last(big, needle), static_cast<int>(text.size()) - 5000 + 1);
    EXPECT_EQ(text_split(big, needle).size(), 1u);
    EXPECT_EQ(text_replace(big, needle, "x"_gbk, false).size(), text.size() - 5000 + 1);
}

// Byte matches inside characters, and overlapping matches, by the hundred
// thousand: far more than the fast byte search is allowed to stop at, so the
// search changes its method on the way and must still find the same places.
TEST(TextSearchCost, FindsCharacterStartsAmongManyFalseMatches)
{
    std::string ah; // "啊" (B0 A1) repeated: A1 B0 occurs at every odd offset, inside two characters
    for (int i = 0; i < 200'000; ++i) ah += "\xB0\xA1";
    const GbkText needle("\xA1\xB0");
    EXPECT_EQ(text_find(GbkText(ah), needle), -1);
    EXPECT_EQ(text_find(GbkText(ah + "x\xA1\xB0"), needle), static_cast<int>(ah.size()) + 2);
    EXPECT_EQ(text_find_last(GbkText(ah + "x\xA1\xB0" + ah), needle), static_cast<int>(ah.size()) + 2);
    EXPECT_EQ(text_split(GbkText(ah + "x\xA1\xB0" "y"), needle).size(), 2u);

    const std::string as(300'000, 'a');
    EXPECT_EQ(text_find_last(GbkText(as), "aa"_gbk), static_cast<int>(as.size()) - 1);
    EXPECT_EQ(text_replace(GbkText(as), "aa"_gbk, "b"_gbk).size(), as.size() / 2);
}

// The search against the plain definition, on many small random texts made of
// the few bytes that trip a character-aware search: ASCII, lead and trail bytes.
TEST(TextFind, AgreesWithTheDefinitionOnRandomTexts)
{
    const char alphabet[] = {'a', 'b', '\xB0', '\xA1', '\xA1'};
    std::uint32_t state = 12345;
    auto pick = [&](int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(n));
    };
    auto random_text = [&](int length) {
        std::string text;
        for (int i = 0; i < length; ++i) text += alphabet[pick(5)];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = random_text(pick(40));
        const std::string needle = random_text(1 + pick(3));
        const int start = pick(6);
        // Character starts counted from the start position; a match must
        // begin at one and its character must be whole.
        int expected = -1;
        std::size_t at = static_cast<std::size_t>(start < 2 ? 0 : start - 1);
        while (at < text.size()) {
            const std::size_t length = static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
            if (at + length > text.size()) break;
            if (text.compare(at, needle.size(), needle) == 0) {
                expected = static_cast<int>(at) + 1;
                break;
            }
            at += length;
        }
        EXPECT_EQ(text_find(GbkText(text), GbkText(needle), start), expected)
            << GbkText(text) << " / " << GbkText(needle) << " from " << start;
    }
}
