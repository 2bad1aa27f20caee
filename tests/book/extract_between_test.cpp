#include "book/extract_between.h"

#include <gtest/gtest.h>

using namespace pagora;

TEST(ExtractBetween, CutsBetweenTheFirstLeftMarkerAndTheNextRightMarker)
{
    const struct {
        const char* source;
        const char* left;
        const char* right;
        const char* expected;
    } cases[] = {
        {"title: \"Book\", pages: \"3\",", "title: \"", "\",", "Book"},
        {"pages: \"\",", "pages: \"", "\",", ""},              // right marker at once
        {"title: \"A\", title: \"B\",", "title: \"", "\",", "A"}, // first occurrence wins
        // No right marker after the first left marker: empty, although a later
        // left marker would have one.
        {"x: \"1\", title: \"open", "title: \"", "\",", ""},
        {"", "a", "b", ""},
        {"", "", "", ""},
        {"abc", "x", "c", ""},                                  // left marker missing
        {"abc", "a", "", ""},                                   // empty right marker
        {"ab;cd;", "", ";", "ab"},                              // empty left marker
        {"ab", "b", "", ""},                                    // left marker ends the source
        // A marker byte that is the second byte of a two-byte character is no
        // match: B2 22 is one character, so the quote inside it does not open.
        {"k\xB2\"v\",k\"w\",", "k\"", "\",", "w"},
        {"\xD6\xD0title: \"\xCE\xC4\",", "title: \"", "\",", "\xCE\xC4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(extract_between(GbkText(c.source), GbkText(c.left), GbkText(c.right)),
                  GbkText(c.expected))
            << "source " << GbkText(c.source);
    }
}
