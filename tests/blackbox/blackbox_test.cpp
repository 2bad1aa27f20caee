// The real program under a private X server: it comes up with its window and
// captions, and ends cleanly on Esc.
#include "blackbox_fixture.h"

#include <thread>

using namespace pagora::blackbox;
using namespace std::chrono_literals;

namespace {

TEST_F(Blackbox, StartsCentredWithItsCaptionsAndEndsOnEsc)
{
    ASSERT_NO_FATAL_FAILURE(start());

    // No window manager: no frame, so the client area is the whole 641 x 213.
    const WindowGeometry geometry = window_geometry(*display, window_id);
    EXPECT_EQ(geometry.width, 641);
    EXPECT_EQ(geometry.height, 213);
    EXPECT_EQ(geometry.x, (screen_width - 641) / 2);
    EXPECT_EQ(geometry.y, (screen_height - 213) / 2);

    std::this_thread::sleep_for(500ms); // let it paint
    const auto shot = screenshot("window");
    ASSERT_TRUE(shot.has_value());
    ASSERT_EQ(shot->width, 641);
    // Two three-character captions: drawn as glyphs they differ in ink, drawn
    // as missing-glyph boxes they would be the same.
    const int title_caption = shot->dark_pixels(392, 3, 40, 40);       // 书名：
    const int page_count_caption = shot->dark_pixels(458, 58, 30, 32); // 页数：
    EXPECT_GT(title_caption, 20);
    EXPECT_GT(page_count_caption, 20);
    EXPECT_NE(title_caption, page_count_caption);
    EXPECT_GT(shot->dark_pixels(528, 105, 80, 47), 20) << "the download button's caption";

    ASSERT_NO_FATAL_FAILURE(press_escape_and_expect_clean_exit());
    EXPECT_TRUE(display->wait_until_gone(main_title, 5s));
}

} // namespace
