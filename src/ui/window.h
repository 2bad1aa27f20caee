#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

#include <filesystem>
#include <string_view>

namespace pagora {

// The one seam between the core (web, book, download) and the toolkit. The core
// reads and writes the window's controls by name (see controls.h) and asks for
// the few toolkit services it needs; the Qt window implements it, tests use an
// in-memory window.
//
// Every operation may be called from any thread and completes before it
// returns: a read gives what the control holds at that moment, a write is in the
// control when the call returns. Once the window is gone they return at once
// (reads give the empty text), so a worker never hangs the shut-down.
class Window {
public:
    virtual ~Window() = default;

    // Edit boxes: the text exactly as last written or typed, byte for byte.
    virtual GbkText read_text(std::string_view control) = 0;
    virtual void write_text(std::string_view control, const GbkText& text) = 0;
    // Labels.
    virtual void write_caption(std::string_view control, const GbkText& caption) = 0;
    // Picture boxes: the bytes decoded as an image; empty bytes or bytes that are
    // no image leave only the background.
    virtual void write_picture(std::string_view control, const Bytes& image) = 0;
    // The progress bar: shown limited to 0..100.
    virtual void write_position(std::string_view control, int position) = 0;

    // The clipboard's text, brought into code page 936; empty when it holds none.
    virtual GbkText clipboard_text() = 0;
    // The folder the output folders are made in: the program's folder, or a
    // writable stand-in when the program cannot write there.
    virtual std::filesystem::path program_folder() = 0;
    // Shows a message with one OK button and waits until the user closes it; the
    // main window stays usable meanwhile.
    virtual void show_message(const GbkText& text, const GbkText& caption) = 0;
};

} // namespace pagora
