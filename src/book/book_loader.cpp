#include "book/book_loader.h"

#include "book/book_page.h"
#include "book/extract_between.h"
#include "download/fetch_bytes.h"
#include "download/safe_name.h"
#include "ui/controls.h"
#include "web/codepage.h"
#include "web/web_request.h"

#include <filesystem>
#include <system_error>

namespace pagora {
namespace {

// Every cut reads the page back from the source box: the box is the one holder
// of the page text, and what the user sees there is what is cut.
GbkText cut_from_source(Window& window, const GbkText& left, const GbkText& right)
{
    return extract_between(window.read_text(control::source_box), left, right);
}

void fill_in_book(Window& window)
{
    window.write_text(control::title_box,
                      cut_from_source(window, book_page::title_left, book_page::quoted_value_right));
    window.write_text(control::page_count_box,
                      cut_from_source(window, book_page::pages_left, book_page::quoted_value_right));
    window.write_text(control::image_base_box,
                      cut_from_source(window, book_page::folder_left, book_page::folder_right) +
                          book_page::image_folder);

    const GbkText folder = cut_from_source(window, book_page::folder_left, book_page::folder_right);
    window.write_picture(control::cover_box, fetch_bytes(folder + book_page::cover_image));
}

// The title becomes one safe name component, so a title from a web page can
// never name a folder outside the program's folder.
void make_output_folder(Window& window, SaveDirectory& save_directory)
{
    const GbkText title = window.read_text(control::title_box);
    const std::filesystem::path folder =
        window.program_folder() / safe_name_component(title) / "";
    save_directory.set(folder);
    std::error_code ignored; // a folder that exists or cannot be made shows at save time
    std::filesystem::create_directory(folder, ignored);
}

} // namespace

void on_book_address_double_clicked(Window& window, SaveDirectory& save_directory)
{
    window.write_text(control::book_address_box, window.clipboard_text());
    const GbkText address = window.read_text(control::book_address_box);

    const Bytes body = web_request(address);
    window.write_text(control::source_box, utf8_to_gbk(body));

    // A page that could not be had leaves title, page count, image address and
    // cover of the previous load as they were.
    if (!window.read_text(control::source_box).empty()) fill_in_book(window);

    make_output_folder(window, save_directory);
}

} // namespace pagora
