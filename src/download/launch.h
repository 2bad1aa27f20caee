#pragma once

#include "download/save_directory.h"
#include "ui/window.h"

namespace pagora {

// Handler of the download button: starts a launcher thread, which starts one
// download worker, and returns at once. Every press starts one more worker,
// whatever the thread-count box holds. The window and the folder must outlive
// the workers (they live as long as the program).
void on_download_clicked(Window& window, SaveDirectory& save_directory);

// The launcher: starts the worker, pauses 10 ms while dispatching its own
// messages, dispatches once more and ends.
void launch_download(Window& window, SaveDirectory& save_directory);

} // namespace pagora
