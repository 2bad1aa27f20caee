#include "web/cutting.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace pagora;

TEST(TextBetween, CutsBetweenMarkers)
{
    const struct {
        std::string text, left, right;
        std::optional<int> start;
        bool ignore_case;
        std::string expected;
    } cases[] = {
        {"name=v; path=/", "name=", ";", std::nullopt, false, "v"},
        {"name=v", "name=", ";", std::nullopt, false, ""},
        {"name=v; x", "name=", "", std::nullopt, false, ""},
        {"abc;def", "", ";", std::nullopt, false, "abc"},
        {"no marker", "<", ">", std::nullopt, false, ""},
        {"<>", "<", ">", std::nullopt, false, ""},
        {"<a><b>", "<", ">", 2, false, "b"},
        {"TITLE=x;", "title=", ";", std::nullopt, true, "x"},
        {"TITLE=x;", "title=", ";", std::nullopt, false, ""},
        // "#引号" stands for a double quote in either marker.
        {"<a href=\"u\">", "href=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", std::nullopt, false, "u"},
        {"say \"hi\"", "#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", std::nullopt, false, "hi"},
        // The right marker is searched after the left one, from its end.
        {"a=b=c;", "=", "=", std::nullopt, false, "b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_between(GbkText(c.text), GbkText(c.left), GbkText(c.right), c.start, c.ignore_case),
                  GbkText(c.expected))
            << GbkText(c.text) << " between " << GbkText(c.left) << " and " << GbkText(c.right);
    }
}

TEST(TextBefore, AlwaysStartsAtTheFirstByte)
{
    const struct {
        std::string text, marker;
        std::optional<int> start;
        std::string expected;
    } cases[] = {
        {"Set-Cookie: a=1", ": ", std::nullopt, "Set-Cookie"},
        {": a", ": ", std::nullopt, ""},
        {"no marker", ": ", std::nullopt, ""},
        {"a/b/c", "/", 3, "a/b"},
        {"a/b/c", "/", 0, "a"},
        {"a/b/c", "/", -4, "a"},
        {"a/b", "/", 9, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text_before(GbkText(c.text), GbkText(c.marker), c.start), GbkText(c.expected)) << GbkText(c.text);
    EXPECT_EQ(text_before("Host: x"_gbk, "host:"_gbk, std::nullopt, true), ""_gbk);
    EXPECT_EQ(text_before("aHost: x"_gbk, "host:"_gbk, std::nullopt, true), "a"_gbk);
}

TEST(HeaderValue, TakesTheTrimmedTextAfterTheFirstColon)
{
    EXPECT_EQ(header_value("X:  a: b  "_gbk), "a: b"_gbk);
    EXPECT_EQ(header_value("no colon"_gbk), ""_gbk);
    EXPECT_EQ(header_value("X:"_gbk), ""_gbk);
    EXPECT_EQ(header_value(":v"_gbk), "v"_gbk);
}

TEST(IndexOfItem, FindsTheFirstEqualItem)
{
    const TextArray items{"a"_gbk, ""_gbk, "b"_gbk, "a"_gbk};
    EXPECT_EQ(index_of_item(items, "a"_gbk), 1);
    EXPECT_EQ(index_of_item(items, ""_gbk), 2);
    EXPECT_EQ(index_of_item(items, "b"_gbk), 3);
    EXPECT_EQ(index_of_item(items, "A"_gbk), -1);
    EXPECT_EQ(index_of_item({}, ""_gbk), -1);
}

TEST(RemoveDuplicateItems, KeepsFirstAppearances)
{
    const struct {
        std::string text, separator, expected;
    } cases[] = {
        {"a;b;a; b", ";", "a;b; b"},
        {"a;;b;;c", ";", "a;;b;c"},
        {"", ";", ""},
        {"a;a;", ";", "a"},
        {"x, y, x", ", ", "x, y"},
        {"abc", "", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(remove_duplicate_items(GbkText(c.text), GbkText(c.separator)), GbkText(c.expected)) << GbkText(c.text);
}
