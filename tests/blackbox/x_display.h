#pragma once

#include "child_process.h"

#include <memory>
#include <optional>
#include <string>

namespace pagora::blackbox {

// A private X server (Xvfb) on a display number it picks itself, for as long
// as the object lives; and the X tools run against it.
class XDisplay {
public:
    // Starts the server; name() is empty when it did not come up.
    XDisplay(int width, int height);

    const std::string& name() const { return name_; } // ":N"
    // Runs an X tool command line (xdotool ..., xwininfo ...) on this display.
    std::string run(const std::string& command, int* exit_code = nullptr) const;
    // The id of the visible window with exactly this title, once it is there.
    std::optional<std::string> wait_for_window(const std::string& title, std::chrono::milliseconds timeout) const;
    // True once no visible window has this title any more.
    bool wait_until_gone(const std::string& title, std::chrono::milliseconds timeout) const;

private:
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
};

struct WindowGeometry {
    int x = -1, y = -1, width = 0, height = 0;
};
// Position and size as xwininfo reports them.
WindowGeometry window_geometry(const XDisplay& display, const std::string& window_id);

} // namespace pagora::blackbox
