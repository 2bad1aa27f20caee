#include "x_display.h"

#include <regex>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace pagora::blackbox {

XDisplay::XDisplay(int width, int height)
{
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    // -displayfd: the server picks a free display and writes its number when it
    // is ready for clients.
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0",
                                 std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, pipe_fds[1]);
    ::close(pipe_fds[1]);

    std::string number;
    pollfd ready{pipe_fds[0], POLLIN, 0};
    while (::poll(&ready, 1, 15000) > 0) {
        char ch = 0;
        if (::read(pipe_fds[0], &ch, 1) != 1 || ch == '\n') break;
        number += ch;
    }
    ::close(pipe_fds[0]);
    if (!number.empty()) name_ = ":" + number;
}

std::string XDisplay::run(const std::string& command, int* exit_code) const
{
    return run_command("env -u QT_QPA_PLATFORM DISPLAY=" + name_ + " " + command + " 2>/dev/null", exit_code);
}

std::optional<std::string> XDisplay::wait_for_window(const std::string& title, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const std::string pattern = shell_quote("^" + title + "$");
    do {
        const std::string found = run("xdotool search --onlyvisible --name " + pattern);
        if (!found.empty()) return found.substr(0, found.find('\n'));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool XDisplay::wait_until_gone(const std::string& title, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const std::string pattern = shell_quote("^" + title + "$");
    do {
        if (run("xdotool search --onlyvisible --name " + pattern).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

WindowGeometry window_geometry(const XDisplay& display, const std::string& window_id)
{
    const std::string info = display.run("xwininfo -id " + window_id);
    auto field = [&](const char* name) {
        std::smatch match;
        if (std::regex_search(info, match, std::regex(std::string(name) + R"(:\s+(-?\d+))")))
            return std::stoi(match[1]);
        return -1;
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")};
}

} // namespace pagora::blackbox
