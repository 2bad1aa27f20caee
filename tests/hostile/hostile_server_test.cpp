// A hostile server, one case per row: each row serves something a careless
// client would choke on and states what must come of it. Every row goes
// through the real routines over a real loopback connection.
#include "book/book_loader.h"
#include "download/download_book.h"
#include "download/fetch_bytes.h"
#include "download/safe_name.h"
#include "hostile_site.h"
#include "memory_window.h"
#include "pdf_inspect.h"
#include "self_signed_server.h"
#include "ui/controls.h"
#include "web/codepage.h"
#include "web/transfer_limits_for_tests.h"
#include "web/web_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Connection;
using testing::HostileBook;
using testing::MemoryWindow;
using testing::RawHttpServer;
using testing::RawRequest;

// How the row reaches the server.
enum class Route {
    fetch,   // fetch_bytes of /x
    request, // web_request of /x, every option absent
    book,    // a double-click on the book address box with /book/index.html on the clipboard, then the download
    tls_fetch,   // fetch_bytes of https://.../x on a server with a self-signed certificate
    tls_request, // web_request of the same
};

// Everything a row may look at afterwards.
struct Outcome {
    Bytes body;
    GbkText raw_headers;
    std::chrono::milliseconds elapsed{};
    std::size_t requests = 0;
    std::vector<MemoryWindow::Message> messages;
    GbkText title_box;
    fs::path program;            // the program's folder
    std::vector<fs::path> pdfs;  // every PDF under the program's folder
    std::vector<fs::path> files; // every file in the sandbox, relative to it
};

extern const TransferLimits short_limits;

struct Row {
    const char* name;
    Route route;
    RawHttpServer::Handler serve;
    std::function<void(const Outcome&)> expect;
    TransferLimits limits = short_limits;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

const std::string partial_header = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n";

// Short timeouts, so a stall ends in about a second; a body of 32 MiB at
// most. The rows that trickle also shorten the time a whole transfer may take.
constexpr std::size_t body_limit = std::size_t(32) << 20;
const TransferLimits short_limits{2000ms, 1s, 60'000ms, body_limit};
const TransferLimits short_total{2000ms, 1s, 3000ms, body_limit};

// Sends a few bytes every 200 ms for a minute: never a stall, never an end.
void trickle(const RawRequest&, Connection& c)
{
    if (!c.send(partial_header)) return;
    for (int i = 0; i < 300 && c.send("abc"); ++i) c.hold(200ms);
}

RawHttpServer::Handler answer(std::string raw)
{
    return [raw = std::move(raw)](const RawRequest&, Connection& connection) { connection.send(raw); };
}

RawHttpServer::Handler jpeg_pages(int count, std::function<std::string(int)> page, std::string title = "Book",
                                  std::string page_count = "")
{
    if (page_count.empty()) page_count = std::to_string(count);
    return testing::serve_book({std::move(title), std::move(page_count),
                                [count, page = std::move(page)](int n) -> std::optional<std::string> {
                                    if (n < 1 || n > count) return std::nullopt;
                                    return page(n);
                                }});
}

RawHttpServer::Handler book_titled(std::string title)
{
    return jpeg_pages(2, [](int n) { return testing::jpeg_body(40, 60, n); }, std::move(title));
}


// --- What a row may expect ---------------------------------------------------

// The stall timeout is 1 s, but libcurl measures speed over a window of
// some seconds, so bytes that came just before a stall keep it alive a bit.
void expect_quick(const Outcome& o, std::chrono::milliseconds most = 12s)
{
    EXPECT_LT(o.elapsed, most) << "the transfer did not end by its timeouts";
}

void expect_failed_at(const Outcome& o, int page)
{
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, download_texts::failed_at_page(page));
    EXPECT_TRUE(o.pdfs.empty()) << "a PDF was left behind for a failed download";
}

void expect_whole_pdf(const Outcome& o, std::size_t pages)
{
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0].text, download_texts::done);
    ASSERT_EQ(o.pdfs.size(), 1u);
    const auto pdf = testing::inspect_pdf(o.pdfs[0]);
    EXPECT_TRUE(pdf.valid);
    EXPECT_EQ(pdf.pages.size(), pages);
    // The PDF lies in the book's own folder, one level inside the program's.
    EXPECT_EQ(o.pdfs[0].parent_path().parent_path(), o.program);
}

// The folder's name as it must come out of a title: one component, short,
// and no way out of the program's folder.
void expect_tame_folder(const Outcome& o)
{
    ASSERT_EQ(o.pdfs.size(), 1u);
    const std::string folder = o.pdfs[0].parent_path().filename().string();
    EXPECT_FALSE(folder.empty());
    EXPECT_LE(folder.size(), 244u);
    EXPECT_EQ(folder.find('/'), std::string::npos);
    EXPECT_NE(folder, ".");
    EXPECT_NE(folder, "..");
}

std::string repeated(std::string_view piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

const Row rows[] = {
    {"SelfSignedCertificateFetch", Route::tls_fetch, {},
     [](const Outcome& o) {
         EXPECT_TRUE(o.body.empty());
         EXPECT_EQ(o.requests, 0u) << "the request went out over an untrusted connection";
     }},
    {"SelfSignedCertificateRequest", Route::tls_request, {},
     [](const Outcome& o) {
         EXPECT_TRUE(o.body.empty());
         EXPECT_EQ(o.requests, 0u);
     }},
    {"SilentServerFetch", Route::fetch,
     [](const RawRequest&, Connection& c) { c.hold(30s); },
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_TRUE(o.body.empty());
     }},
    {"SilentServerRequest", Route::request,
     [](const RawRequest&, Connection& c) { c.hold(30s); },
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_TRUE(o.body.empty());
         EXPECT_EQ(o.raw_headers, GbkText(std::string(5000, ' ')));
     }},
    {"StallMidBodyFetch", Route::fetch,
     [](const RawRequest&, Connection& c) {
         c.send(partial_header + std::string(300, 'a'));
         c.hold(30s);
     },
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_EQ(o.body, Bytes(300, 'a')) << "the bytes so far are the result";
     }},
    {"StallMidBodyRequest", Route::request,
     [](const RawRequest&, Connection& c) {
         c.send(partial_header + std::string(300, 'a'));
         c.hold(30s);
     },
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_EQ(o.body, Bytes(300, 'a'));
     }},
    {"TrickleFetch", Route::fetch, trickle,
     [](const Outcome& o) {
         expect_quick(o, 8s);
         EXPECT_FALSE(o.body.empty()) << "the bytes so far are the result";
         EXPECT_EQ(o.body.size() % 3, 0u);
     },
     short_total},
    {"TrickleRequest", Route::request, trickle,
     [](const Outcome& o) {
         expect_quick(o, 8s);
         EXPECT_FALSE(o.body.empty());
     },
     short_total},
    {"TrickledPageImage", Route::book,
     [](const RawRequest& request, Connection& c) {
         if (request.target.ends_with("/2.jpg")) return trickle(request, c);
         jpeg_pages(2, [](int n) { return testing::jpeg_body(40, 60, n); })(request, c);
     },
     [](const Outcome& o) { expect_failed_at(o, 2); }, short_total},
    {"ResetBeforeAnswerFetch", Route::fetch, [](const RawRequest&, Connection& c) { c.reset(); },
     [](const Outcome& o) { EXPECT_TRUE(o.body.empty()); }},
    {"ResetMidBodyFetch", Route::fetch,
     [](const RawRequest&, Connection& c) {
         c.send(partial_header + std::string(300, 'a'));
         c.hold(500ms);
         c.reset();
     },
     [](const Outcome& o) { EXPECT_EQ(o.body, Bytes(300, 'a')); }},
    {"ResetMidBodyRequest", Route::request,
     [](const RawRequest&, Connection& c) {
         c.send(partial_header + std::string(300, 'a'));
         c.hold(500ms);
         c.reset();
     },
     [](const Outcome& o) { EXPECT_EQ(o.body, Bytes(300, 'a')); }},
    {"RedirectLoopFetch", Route::fetch,
     answer(RawHttpServer::response(302, "loop", "Location: /x\r\n")),
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_EQ(o.requests, 11u) << "the first request and ten redirects";
     }},
    {"RedirectLoopRequest", Route::request,
     answer(RawHttpServer::response(302, "loop", "Location: /x\r\n")),
     [](const Outcome& o) {
         expect_quick(o);
         EXPECT_EQ(o.requests, 11u);
         EXPECT_EQ(o.body, bytes_of("loop")) << "the last response is handed back as it came";
     }},
    {"HeaderBlockOf10MBFetch", Route::fetch,
     answer(testing::huge_header_response(10u << 20, "BODY")),
     [](const Outcome& o) {
         expect_quick(o, 15s);
         EXPECT_TRUE(o.body.empty()) << "a header block that large is refused";
     }},
    {"HeaderBlockOf10MBRequest", Route::request,
     answer(testing::huge_header_response(10u << 20, "BODY")),
     [](const Outcome& o) {
         expect_quick(o, 15s);
         EXPECT_TRUE(o.body.empty());
         EXPECT_EQ(o.raw_headers, GbkText(std::string(5000, ' ')));
     }},
    {"EndlessBodyRequest", Route::request,
     [](const RawRequest&, Connection& c) {
         c.send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n");
         const std::string piece(64 * 1024, 'x');
         for (int i = 0; i < 16 * 1024 && c.send(piece); ++i) {} // up to 1 GiB, until the client hangs up
     },
     [](const Outcome& o) {
         expect_quick(o, 15s);
         EXPECT_EQ(o.body.size(), body_limit) << "the body is cut at the limit";
     }},
    {"HtmlWhereAJpegIsExpected", Route::book,
     jpeg_pages(1, [](int) { return testing::html_body(); }), [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"PngWhereAJpegIsExpected", Route::book,
     jpeg_pages(2, [](int n) { return n == 1 ? testing::jpeg_body(40, 60) : testing::png_body(); }),
     [](const Outcome& o) { expect_failed_at(o, 2); }},
    {"RandomBytesWhereAJpegIsExpected", Route::book,
     jpeg_pages(1, [](int) { return testing::random_body(50000, 7); }),
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"RandomBytesAfterAJpegMarker", Route::book,
     jpeg_pages(1, [](int) { return "\xFF\xD8\xFF\xC0" + testing::random_body(5000, 9); }),
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"JpegHeaderCutShort", Route::book,
     jpeg_pages(1, [](int) { return testing::jpeg_body(40, 60).substr(0, 30); }),
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"JpegCutOffMidTransfer", Route::book,
     [](const RawRequest& request, Connection& c) {
         if (!request.target.ends_with(".jpg")) return jpeg_pages(1, [](int) { return ""; })(request, c);
         const std::string jpeg = testing::jpeg_body(400, 600);
         c.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(jpeg.size()) + "\r\n\r\n" +
                jpeg.substr(0, jpeg.size() / 2));
         c.hold(300ms);
         c.reset();
     },
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"Jpeg20000PixelsWide", Route::book,
     jpeg_pages(1, [](int) { return testing::jpeg_body(20000, 8); }),
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"Jpeg2PixelsHigh", Route::book,
     jpeg_pages(1, [](int) { return testing::jpeg_body(300, 2); }),
     [](const Outcome& o) { expect_failed_at(o, 1); }},
    {"BookPageOf20MB", Route::book,
     [] {
         HostileBook book{"Big Book", "2", [](int n) -> std::optional<std::string> {
                              if (n < 1 || n > 2) return std::nullopt;
                              return testing::jpeg_body(40, 60, n);
                          }};
         book.padding = 20u << 20;
         return testing::serve_book(std::move(book));
     }(),
     [](const Outcome& o) {
         EXPECT_EQ(o.title_box, "Big Book"_gbk);
         expect_whole_pdf(o, 2);
     }},
    {"TitleOfDotDotSlashes", Route::book, book_titled(repeated("../", 8) + "etc"),
     [](const Outcome& o) {
         expect_whole_pdf(o, 2);
         expect_tame_folder(o);
     }},
    {"TitleOfTwoDots", Route::book, book_titled(".."),
     [](const Outcome& o) {
         expect_whole_pdf(o, 2);
         expect_tame_folder(o);
     }},
    {"TitleOfASlash", Route::book, book_titled("/"),
     [](const Outcome& o) {
         expect_whole_pdf(o, 2);
         expect_tame_folder(o);
     }},
    {"TitleOfControlCharacters", Route::book, book_titled("\x01\x02\x1B[31m\t\r\x7F"),
     [](const Outcome& o) {
         expect_whole_pdf(o, 2);
         expect_tame_folder(o);
         for (char c : o.pdfs[0].string()) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
     }},
    {"TitleOf10KB", Route::book, book_titled(repeated("\xE4\xB9\xA6/", 2560)),
     [](const Outcome& o) {
         expect_whole_pdf(o, 2);
         expect_tame_folder(o);
     }},
    {"PageCountOf99999999999", Route::book,
     jpeg_pages(3, [](int n) { return testing::jpeg_body(40, 60, n); }, "Book", "99999999999"),
     [](const Outcome& o) {
         // Held at the largest int: pages 1 to 3 come, page 4 is a 404 page.
         EXPECT_EQ(o.requests, 1u + 1u + 4u) << "book page, cover, pages 1 to 4";
         expect_failed_at(o, 4);
     }},
    {"PageCountOfMinusOne", Route::book,
     jpeg_pages(3, [](int n) { return testing::jpeg_body(40, 60, n); }, "Book", "-1"),
     [](const Outcome& o) {
         EXPECT_EQ(o.requests, 2u) << "book page and cover only";
         EXPECT_TRUE(o.messages.empty()) << "0 passes differ from -1: no completion";
     }},
};

class HostileServer : public ::testing::TestWithParam<Row> {
protected:
    HostileServer()
    {
        sandbox_ = fs::temp_directory_path() /
                   ("pagora-hostile-" + std::to_string(::getpid()) + "-" + GetParam().name);
        fs::remove_all(sandbox_);
        fs::create_directories(sandbox_ / "program");
    }
    ~HostileServer() override { fs::remove_all(sandbox_); }

    fs::path sandbox_;
    ScopedTransferLimits limits_{GetParam().limits};
};

TEST_P(HostileServer, EndsAsExpectedAndWritesOnlyInsideTheProgramFolder)
{
    const Row& row = GetParam();
    RawHttpServer server(row.serve ? row.serve : answer(RawHttpServer::response(404, "")));
    const bool tls = row.route == Route::tls_fetch || row.route == Route::tls_request;
    std::unique_ptr<testing::SelfSignedServer> tls_server;
    if (tls) {
        tls_server = std::make_unique<testing::SelfSignedServer>();
        ASSERT_TRUE(tls_server->ready()) << "could not start the https server (openssl)";
    }
    MemoryWindow window;
    SaveDirectory save_directory;
    window.set_program_folder(sandbox_ / "program");
    Outcome outcome;
    outcome.program = sandbox_ / "program";

    const auto start = std::chrono::steady_clock::now();
    switch (row.route) {
    case Route::fetch:
        outcome.body = fetch_bytes(GbkText(server.url("/x")));
        break;
    case Route::request: {
        WebRequestArguments arguments;
        outcome.body = web_request(GbkText(server.url("/x")), arguments);
        outcome.raw_headers = arguments.raw_response_headers;
        break;
    }
    case Route::book:
        window.set_clipboard(GbkText(server.url("/book/index.html")));
        on_book_address_double_clicked(window, save_directory);
        download_book(window, save_directory);
        break;
    case Route::tls_fetch:
        outcome.body = fetch_bytes(GbkText(tls_server->url("/x")));
        break;
    case Route::tls_request:
        outcome.body = web_request(GbkText(tls_server->url("/x")));
        break;
    }
    outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    outcome.requests = tls ? static_cast<std::size_t>(tls_server->served()) : server.requests().size();
    outcome.messages = window.messages();
    outcome.title_box = window.read_text(control::title_box);
    for (const auto& entry : fs::recursive_directory_iterator(sandbox_)) {
        if (!entry.is_regular_file()) continue;
        outcome.files.push_back(fs::relative(entry.path(), sandbox_));
        if (entry.path().extension() == ".pdf") outcome.pdfs.push_back(entry.path());
    }

    row.expect(outcome);

    // Whatever the server sent: nothing outside the program's folder, no
    // leftover of a save, and no completion without the PDF it speaks of.
    for (const auto& file : outcome.files) {
        EXPECT_EQ(*file.begin(), "program") << file;
        EXPECT_EQ(file.extension(), ".pdf") << "leftover " << file;
    }
    for (const auto& message : outcome.messages) {
        if (message.text != download_texts::done) continue;
        ASSERT_EQ(outcome.pdfs.size(), 1u);
        EXPECT_TRUE(testing::inspect_pdf(outcome.pdfs[0]).valid);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServer, ::testing::ValuesIn(rows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pagora
