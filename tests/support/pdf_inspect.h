#pragma once

#include "web/bytes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pagora::testing {

// One page of a PDF as the qpdf tool sees it.
struct PdfPage {
    std::string dictionary;       // the page object, as qpdf shows it
    std::vector<double> media_box; // four numbers
    std::string image_dictionary;  // the one image's stream dictionary; empty when none
    Bytes image_data;              // the image stream's data, undecoded
    std::string content_dictionary;
};

struct PdfFile {
    bool valid = false; // "qpdf --check" found no error
    std::vector<PdfPage> pages;
};

// Reads a PDF through the qpdf command-line tool.
PdfFile inspect_pdf(const std::filesystem::path& file);

} // namespace pagora::testing
