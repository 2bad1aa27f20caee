#pragma once

#include "child_process.h"
#include "ppm_image.h"
#include "x_display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace pagora::blackbox {

inline const std::string main_title = "Pagora 图书杂志下载@By：1.02";
inline constexpr int screen_width = 1024;
inline constexpr int screen_height = 768;

// One run of the real program on a private X server, in a folder of its own.
class Blackbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = std::make_unique<XDisplay>(screen_width, screen_height);
        ASSERT_FALSE(display->name().empty()) << "Xvfb did not start";
        // A copy of the program: it works in its own folder, and whatever it
        // writes stays in this test's folder.
        folder = std::filesystem::path(BLACKBOX_OUTPUT_DIR) /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        program = folder / "pagora";
        std::filesystem::copy_file(PAGORA_BINARY, program);
    }

    void start()
    {
        process = std::make_unique<ChildProcess>(
            std::vector<std::string>{program.string()},
            std::vector<std::string>{"DISPLAY=" + display->name(), "QT_QPA_PLATFORM=xcb",
                                     "HOME=" + folder.string(), "XDG_RUNTIME_DIR"});
        auto id = display->wait_for_window(main_title, std::chrono::seconds(30));
        ASSERT_TRUE(id.has_value()) << "the window did not appear";
        window_id = *id;
    }

    // Saves the window as PNG for people and as PPM for the test.
    std::optional<PpmImage> screenshot(const std::string& name)
    {
        const auto png = folder / (name + ".png");
        const auto ppm = folder / (name + ".ppm");
        display->run("import -window " + window_id + " " + shell_quote(png.string()));
        display->run("import -window " + window_id + " -depth 8 " + shell_quote(ppm.string()));
        return read_ppm(ppm.string());
    }

    // The whole screen as PNG, for people to look at.
    void screen_shot(const std::string& name)
    {
        display->run("import -window root " + shell_quote((folder / (name + ".png")).string()));
    }

    // A left click at a point of the main window's client area.
    void click(int x, int y)
    {
        display->run("xdotool mousemove --sync --window " + window_id + " " + std::to_string(x) + " " +
                     std::to_string(y) + " click 1");
    }
    // Keys to the main window, as xdotool names them ("Tab", "ctrl+a").
    void keys(const std::string& names)
    {
        display->run("xdotool windowfocus --sync " + window_id + " key --delay 30 " + names);
    }
    void type(const std::string& text)
    {
        display->run("xdotool type --delay 20 " + shell_quote(text));
    }

    void press_escape_and_expect_clean_exit(std::chrono::milliseconds within = std::chrono::seconds(15))
    {
        keys("Escape");
        const auto code = process->wait_for_exit(within);
        ASSERT_TRUE(code.has_value()) << (process->running() ? "still running after Esc"
                                                             : "ended by signal " + std::to_string(process->signal()));
        EXPECT_EQ(*code, 0);
        EXPECT_FALSE(std::filesystem::exists(folder / "core"));
    }

    std::unique_ptr<XDisplay> display;
    std::unique_ptr<ChildProcess> process;
    std::filesystem::path folder;
    std::filesystem::path program;
    std::string window_id;
};

} // namespace pagora::blackbox
