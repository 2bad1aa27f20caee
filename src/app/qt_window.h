#pragma once

#include "app/gui_thread_caller.h"
#include "ui/window.h"

#include <QPointer>
#include <QString>

namespace pagora {

class MainWindow;

// The Window operations carried out on the Qt main window. Each runs on the GUI
// thread and is done when it returns, whichever thread calls it. After
// shut_down(), or once the main window is closed or destroyed, every operation
// returns at once and reads give the empty text.
class QtWindow final : public Window {
public:
    // program_folder: the folder the program works in (see program_folder.h).
    QtWindow(MainWindow& main_window, QString program_folder);

    GbkText read_text(std::string_view control) override;
    void write_text(std::string_view control, const GbkText& text) override;
    void write_caption(std::string_view control, const GbkText& caption) override;
    void write_picture(std::string_view control, const Bytes& image) override;
    void write_position(std::string_view control, int position) override;
    GbkText clipboard_text() override;
    std::filesystem::path program_folder() override;
    void show_message(const GbkText& text, const GbkText& caption) override;

    // Wakes every caller that waits and makes later calls return at once. Call
    // on the GUI thread.
    void shut_down();

    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

private:
    QWidget* find(std::string_view control) const;

    QPointer<MainWindow> main_window_;
    QString program_folder_;
    GuiThreadCaller caller_;
    QMetaObject::Connection shut_down_on_close_;
};

} // namespace pagora
