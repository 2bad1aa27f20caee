#pragma once

#include "download/save_directory.h"
#include "ui/window.h"

namespace pagora {

// Handler of the download button: starts a launcher thread, which starts one
// download worker, and returns at once. Every press starts one more worker.
void on_download_clicked(Window& window, SaveDirectory& save_directory);

} // namespace pagora
