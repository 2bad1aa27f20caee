#pragma once

#include "app/main_window.h"
#include "app/qt_window.h"

#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace pagora::testing {

// The real main window, shown on the offscreen platform, with the Window
// operations over it; both are gone after each test, the operations first.
class ShownWindowTest : public ::testing::Test {
protected:
    // Shows the window; the operations take program_folder as the program's folder.
    void show_window(const QString& program_folder)
    {
        main_window = std::make_unique<MainWindow>();
        main_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_window.get()));
        window = std::make_unique<QtWindow>(*main_window, program_folder);
    }
    template <typename Widget = QWidget>
    Widget* get(std::string_view name)
    {
        return qobject_cast<Widget*>(main_window->control(name));
    }

    std::unique_ptr<MainWindow> main_window;
    std::unique_ptr<QtWindow> window; // declared last, so destroyed first
};

} // namespace pagora::testing
