// PDF assembly on its own: JPEGs already in memory, one page each, written to
// a file the way the worker does it.
#include "book_files.h"
#include "commands.h"
#include "stats.h"

#include "download/pdf_file.h"
#include "download/pdf_pages.h"

#include <chrono>
#include <cstdio>
#include <hpdf.h>

namespace pagora::bench {

int assemble_command(const Arguments& args)
{
    const std::filesystem::path folder = argument(args, 0, "FOLDER");
    const int pages = std::stoi(argument(args, 1, "PAGES"));
    const std::filesystem::path output = argument(args, 2, "OUTPUT_PDF");

    std::vector<Bytes> images;
    for (const auto& file : page_files(folder, pages)) images.push_back(bytes_of(read_whole_file(file)));

    const auto begin = std::chrono::steady_clock::now();
    HPDF_Doc document = HPDF_New(pdf_error_handler, nullptr);
    HPDF_SetCompressionMode(document, HPDF_COMP_ALL);
    HPDF_AddPage(document);
    bool placed = true;
    for (std::size_t i = 0; i < images.size(); ++i) {
        placed = placed && add_image_page(document, images[i], 0, 0);
        if (i + 1 < images.size()) HPDF_AddPage(document);
    }
    const bool saved = placed && save_pdf_replacing(document, output);
    HPDF_Free(document);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    std::printf("%.6f\n", seconds);
    if (!saved) std::fputs("assemble: the PDF was not written\n", stderr);
    return saved ? 0 : 1;
}

} // namespace pagora::bench
