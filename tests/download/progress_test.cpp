#include "download/progress.h"

#include <climits>
#include <gtest/gtest.h>

namespace pagora {
namespace {

TEST(ProgressPosition, TruncatesTheQuotientTimesAHundred)
{
    struct Case {
        int page, count, position;
    };
    const Case cases[] = {
        {29, 100, 28},  // 0.29 * 100 is 28.999...
        {57, 100, 56},  // 0.57 * 100 is 56.999...
        {1, 3, 33},     {2, 3, 66},    {3, 3, 100},
        {6, 20, 30},    {10, 20, 50},  // page count raised during the download
        {5, 0, 0},      // no page count: an empty bar
        {7, 5, 140},    // count lowered below the page: written as computed
        {3, -10, -30},  // count made negative
        {INT_MAX, 1, INT_MAX}, {INT_MAX, -1, INT_MIN}, // held within int instead of overflowing
    };
    for (const auto& c : cases)
        EXPECT_EQ(progress_position(c.page, c.count), c.position) << c.page << " of " << c.count;
}

} // namespace
} // namespace pagora
