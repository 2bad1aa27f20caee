#pragma once

namespace pagora {

class MainWindow;
class QtWindow;
class SaveDirectory;

// Binds the window's three user events to their handlers: the double-click on
// the book address box loads a book, the download button starts a download,
// the homepage button opens the catalogue page.
void bind_handlers(MainWindow& main_window, QtWindow& window, SaveDirectory& save_directory);

} // namespace pagora
