#include "hostile_site.h"

#include "jpeg_fixture.h"

#include <cstdlib>
#include <random>

namespace pagora::testing {
namespace {

constexpr std::string_view image_prefix = "/book/files/mobile/";

std::string book_page(const HostileBook& book, const std::string& host)
{
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n";
    const std::string filler = "<p>\xE4\xB8\xAD\xE6\x96\x87 filler text of the page</p>\n";
    while (page.size() < book.padding) page += filler;
    page += "<script>var book = { title: \"" + book.title + "\", pages: \"" + book.page_count + "\", };</script>\n";
    page += "<input class=\"form-control af-left\" readonly value=\"http://" + host + "/book/index.html\">\n ";
    page += "</body></html>\n";
    return page;
}

} // namespace

RawHttpServer::Handler serve_book(HostileBook book)
{
    return [book = std::move(book)](const RawRequest& request, Connection& connection) {
        if (request.target == "/book/index.html") {
            connection.send(RawHttpServer::response(200, book_page(book, request.header("Host")), "",
                                                    "text/html; charset=utf-8"));
            return;
        }
        if (request.target.starts_with(image_prefix)) {
            const int page = std::atoi(request.target.c_str() + image_prefix.size());
            if (auto image = book.image(page)) {
                connection.send(RawHttpServer::response(200, *image, "", "image/jpeg"));
                return;
            }
        }
        connection.send(RawHttpServer::response(404, html_body(), "", "text/html"));
    };
}

std::string html_body()
{
    return "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>";
}

std::string png_body()
{
    static const unsigned char png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4,
        0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0,
        0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99, 0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
        0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(png), sizeof png);
}

std::string random_body(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string body(size, '\0');
    for (char& c : body) c = static_cast<char>(generator() & 0xFF);
    return body;
}

std::string jpeg_body(int width, int height, int seed)
{
    const Bytes jpeg = make_jpeg(width, height, seed);
    return std::string(jpeg.begin(), jpeg.end());
}

std::string huge_header_response(std::size_t size, std::string_view body)
{
    std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
    const std::string line = "X-Filler: " + std::string(990, 'f') + "\r\n";
    head.reserve(size + line.size());
    while (head.size() < size) head += line;
    return head + "Set-Cookie: late=1\r\nConnection: close\r\n\r\n" + std::string(body);
}

} // namespace pagora::testing
