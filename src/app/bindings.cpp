#include "app/bindings.h"

#include "app/homepage.h"
#include "app/main_window.h"
#include "app/qt_window.h"
#include "book/book_loader.h"
#include "download/launch.h"
#include "download/save_directory.h"

namespace pagora {

void bind_handlers(MainWindow& main_window, QtWindow& window, SaveDirectory& save_directory)
{
    QObject::connect(&main_window, &MainWindow::bookAddressDoubleClicked, &main_window,
                     [&window, &save_directory] { on_book_address_double_clicked(window, save_directory); });
    QObject::connect(&main_window, &MainWindow::downloadClicked, &main_window,
                     [&window, &save_directory] { on_download_clicked(window, save_directory); });
    QObject::connect(&main_window, &MainWindow::homepageClicked, &main_window,
                     [] { on_homepage_clicked(); });
}

} // namespace pagora
