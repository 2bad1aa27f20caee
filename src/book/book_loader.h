#pragma once

#include "download/save_directory.h"
#include "ui/window.h"

namespace pagora {

// Handler of the double-click on the book address box: pastes the clipboard's
// address, fetches the book page and fills in title, page count, image base
// address and cover, then sets and creates the output folder. Runs to its end on
// the window's thread.
void on_book_address_double_clicked(Window& window, SaveDirectory& save_directory);

} // namespace pagora
