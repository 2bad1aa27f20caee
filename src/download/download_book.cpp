#include "download/download_book.h"

#include "download/fetch_bytes.h"
#include "download/pdf_file.h"
#include "download/pdf_pages.h"
#include "download/progress.h"
#include "download/safe_name.h"
#include "ui/controls.h"
#include "web/codepage.h"
#include "web/text_integer.h"

#include <hpdf.h>
#include <memory>
#include <string>

namespace pagora {

namespace download_texts {

GbkText failed_at_page(int page)
{
    // 第 ... 页
    return failed + GbkText("\xB5\xDA ") + GbkText(std::to_string(page)) + GbkText(" \xD2\xB3");
}

GbkText failed_to_write(const std::filesystem::path& file)
{
    // 无法写入
    return failed + GbkText("\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB ") + utf8_to_gbk(file.string());
}

GbkText failed_to_create_document()
{
    // 无法创建文档
    return failed + GbkText("\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xCE\xC4\xB5\xB5");
}

} // namespace download_texts

namespace {

struct DocumentFree {
    void operator()(HPDF_Doc document) const { HPDF_Free(document); }
};
using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, DocumentFree>;

int read_box_integer(Window& window, std::string_view box)
{
    return read_integer(window.read_text(box));
}

} // namespace

void download_book(Window& window, SaveDirectory& save_directory)
{
    using namespace download_texts;

    Document document(HPDF_New(pdf_error_handler, nullptr));
    if (!document) {
        window.show_message(failed_to_create_document(), caption);
        return;
    }
    HPDF_SetCompressionMode(document.get(), HPDF_COMP_ALL);
    HPDF_AddPage(document.get());

    const int page_count = read_box_integer(window, control::page_count_box);
    int passes = 0;
    int failed_page = 0; // the first page that could not be placed
    for (int page = 1; page <= page_count; ++page) {
        const GbkText address =
            window.read_text(control::image_base_box) + GbkText(std::to_string(page)) + ".jpg"_gbk;
        const Bytes image = fetch_bytes(address);
        if (!add_image_page(document.get(), image, 0, 0)) failed_page = page;
        else if (page < page_count && !HPDF_AddPage(document.get())) failed_page = page + 1;
        ++passes;

        window.write_caption(control::progress_label, GbkText(std::to_string(page)));
        window.write_position(control::progress_bar,
                              progress_position(page, read_box_integer(window, control::page_count_box)));

        // Once a page cannot be placed the document is in its error state and
        // can no longer be saved: the remaining pages are not fetched, the label
        // and the bar stay at this page, and the failure is reported below.
        if (failed_page != 0) break;
    }

    const std::filesystem::path target =
        save_directory.get() / (safe_name_component(window.read_text(control::title_box)) + ".pdf");
    const bool saved = failed_page == 0 && save_pdf_replacing(document.get(), target);
    document.reset(); // the whole PDF is in memory until here; free it before waiting on the user

    if (failed_page != 0) {
        window.show_message(failed_at_page(failed_page), caption);
        return;
    }
    if (!saved) {
        window.show_message(failed_to_write(target), caption);
        return;
    }
    if (passes == read_box_integer(window, control::page_count_box)) window.show_message(done, caption);
}

} // namespace pagora
