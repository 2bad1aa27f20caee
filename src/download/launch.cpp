#include "download/launch.h"

#include "download/download_book.h"
#include "download/pause.h"
#include "download/spawn_thread.h"
#include "download/thread_messages.h"

namespace pagora {

void on_download_clicked(Window& window, SaveDirectory& save_directory)
{
    spawn_thread([&window, &save_directory] { launch_download(window, save_directory); });
}

void launch_download(Window& window, SaveDirectory& save_directory)
{
    spawn_thread([&window, &save_directory] { download_book(window, save_directory); });
    pause_pumping_events(10);
    dispatch_pending_messages();
}

} // namespace pagora
