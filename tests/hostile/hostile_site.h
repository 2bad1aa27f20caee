#pragma once

#include "raw_http_server.h"
#include "web/bytes.h"

#include <functional>
#include <optional>
#include <string>

namespace pagora::testing {

// A book as a hostile site serves it: the book page at /book/index.html
// (UTF-8, with the title and page count as given, after `padding` bytes of
// filler text) and the page images at /book/files/mobile/<n>.jpg.
struct HostileBook {
    std::string title;      // UTF-8, as the page carries it
    std::string page_count; // as the page carries it
    // The body of page n's image; nothing means a 404 page.
    std::function<std::optional<std::string>(int page)> image;
    std::size_t padding = 0;
};

RawHttpServer::Handler serve_book(HostileBook book);

// Bodies handed out where a JPEG is expected.
std::string html_body();
std::string png_body(); // a whole 1 x 1 PNG
std::string random_body(std::size_t size, unsigned seed);
std::string jpeg_body(int width, int height, int seed = 0);

// A response header block of about `size` bytes of harmless header lines.
std::string huge_header_response(std::size_t size, std::string_view body);

} // namespace pagora::testing
