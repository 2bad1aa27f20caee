// The real program under a private X server: it comes up with its window and
// captions, and ends cleanly on Esc.
#include "child_process.h"
#include "ppm_image.h"
#include "x_display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <thread>

using namespace pagora::blackbox;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string title = "Pagora 图书杂志下载@By：1.02";
constexpr int screen_width = 1024;
constexpr int screen_height = 768;

class Blackbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = std::make_unique<XDisplay>(screen_width, screen_height);
        ASSERT_FALSE(display->name().empty()) << "Xvfb did not start";
        // A copy of the program in a folder of its own: it works in its
        // program's folder and must not litter the build tree.
        folder = fs::path(BLACKBOX_OUTPUT_DIR) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        program = folder / "pagora";
        fs::copy_file(PAGORA_BINARY, program);
    }

    void start()
    {
        process = std::make_unique<ChildProcess>(
            std::vector<std::string>{program.string()},
            std::vector<std::string>{"DISPLAY=" + display->name(), "QT_QPA_PLATFORM=xcb", "HOME=" + folder.string(),
                                     "XDG_RUNTIME_DIR"});
        auto id = display->wait_for_window(title, 30s);
        ASSERT_TRUE(id.has_value()) << "the window did not appear";
        window_id = *id;
    }

    // Saves the window as PNG for people and as PPM for the test.
    std::optional<PpmImage> screenshot(const std::string& name)
    {
        const fs::path png = folder / (name + ".png");
        const fs::path ppm = folder / (name + ".ppm");
        display->run("import -window " + window_id + " " + shell_quote(png.string()));
        display->run("import -window " + window_id + " -depth 8 " + shell_quote(ppm.string()));
        return read_ppm(ppm.string());
    }

    void press_escape_and_expect_clean_exit()
    {
        display->run("xdotool windowfocus --sync " + window_id + " key Escape");
        const auto code = process->wait_for_exit(15s);
        ASSERT_TRUE(code.has_value()) << (process->running() ? "still running after Esc"
                                                             : "ended by signal " + std::to_string(process->signal()));
        EXPECT_EQ(*code, 0);
        EXPECT_FALSE(fs::exists(folder / "core"));
    }

    std::unique_ptr<XDisplay> display;
    std::unique_ptr<ChildProcess> process;
    fs::path folder;
    fs::path program;
    std::string window_id;
};

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
    const int title_caption = shot->dark_pixels(392, 3, 40, 40);     // 书名：
    const int page_count_caption = shot->dark_pixels(458, 58, 30, 32); // 页数：
    EXPECT_GT(title_caption, 20);
    EXPECT_GT(page_count_caption, 20);
    EXPECT_NE(title_caption, page_count_caption);
    EXPECT_GT(shot->dark_pixels(528, 105, 80, 47), 20) << "the download button's caption";

    ASSERT_NO_FATAL_FAILURE(press_escape_and_expect_clean_exit());
    EXPECT_TRUE(display->wait_until_gone(title, 5s));
}

} // namespace
