// The program's own download path, from the press of the download button to
// the completion message, through the real launcher and worker.
#include "commands.h"
#include "stats.h"

#include "download/download_book.h"
#include "download/launch.h"
#include "memory_window.h"
#include "ui/controls.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace pagora::bench {

int download_command(const Arguments& args)
{
    const GbkText image_base(argument(args, 0, "IMAGE_BASE_URL"));
    const GbkText pages(argument(args, 1, "PAGES"));
    const std::filesystem::path output_folder = argument(args, 2, "OUTPUT_FOLDER");
    std::filesystem::create_directories(output_folder);

    testing::MemoryWindow window;
    SaveDirectory save_directory;
    window.set_text(control::page_count_box, pages);
    window.set_text(control::image_base_box, image_base);
    window.set_text(control::title_box, "bench"_gbk);
    save_directory.set(output_folder / "");

    const auto begin = std::chrono::steady_clock::now();
    on_download_clicked(window, save_directory);
    const bool ended = window.wait_for_messages(1, std::chrono::minutes(10));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    const bool done = ended && window.messages().front().text == download_texts::done &&
                      std::filesystem::exists(output_folder / "bench.pdf");
    if (!done) std::fputs("download: no PDF, or no completion message\n", stderr);
    std::printf("%.6f\n", seconds);
    std::fflush(nullptr);
    // The worker thread is detached and may still be unwinding: leave at once.
    std::_Exit(done ? 0 : 1);
}

} // namespace pagora::bench
