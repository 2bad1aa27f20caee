// Book loading of a large book page: the whole double-click handler (page
// fetch, conversion, the cuts, the cover fetch, the folder), and the
// conversion and the cuts on their own.
#include "commands.h"
#include "stats.h"

#include "book/book_loader.h"
#include "book/book_page.h"
#include "book/extract_between.h"
#include "memory_window.h"
#include "ui/controls.h"
#include "web/codepage.h"
#include "web/web_request.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace pagora::bench {
namespace {

template <typename Work>
double milliseconds_of(Work&& work)
{
    const auto begin = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

void print(const char* name, const std::vector<double>& times)
{
    const Summary s = summarise(times);
    std::printf("%s %.3f %.3f %.3f\n", name, s.median, s.min, s.max);
}

} // namespace

int book_load_command(const Arguments& args)
{
    const GbkText address(argument(args, 0, "BOOK_PAGE_URL"));
    const std::filesystem::path program_folder = argument(args, 1, "OUTPUT_FOLDER");
    const int repetitions = std::stoi(argument(args, 2, "REPETITIONS"));
    std::filesystem::create_directories(program_folder);
    const GbkText title = utf8_to_gbk("基准测试之书");

    std::vector<double> handler_times;
    for (int i = 0; i < repetitions; ++i) {
        testing::MemoryWindow window;
        SaveDirectory save_directory;
        window.set_clipboard(address);
        window.set_program_folder(program_folder);
        handler_times.push_back(milliseconds_of([&] { on_book_address_double_clicked(window, save_directory); }));
        if (window.read_text(control::title_box) != title || window.picture(control::cover_box).empty())
            throw std::runtime_error("the book page did not load");
    }

    const Bytes body = web_request(address);
    std::vector<double> convert_times, cut_times;
    for (int i = 0; i < repetitions; ++i) {
        GbkText page;
        convert_times.push_back(milliseconds_of([&] { page = utf8_to_gbk(body); }));
        GbkText cut_title, cut_pages, cut_folder;
        cut_times.push_back(milliseconds_of([&] {
            cut_title = extract_between(page, book_page::title_left, book_page::quoted_value_right);
            cut_pages = extract_between(page, book_page::pages_left, book_page::quoted_value_right);
            cut_folder = extract_between(page, book_page::folder_left, book_page::folder_right);
        }));
        if (cut_title != title || cut_pages.empty() || cut_folder.empty())
            throw std::runtime_error("the cuts found nothing");
    }

    std::printf("page_bytes %zu\n", body.size());
    print("handler_ms", handler_times);
    print("convert_ms", convert_times);
    print("cuts_ms", cut_times);
    return 0;
}

} // namespace pagora::bench
