// The real program loads a book and downloads it from a loopback server, with
// the boxes filled in by a double-click or by hand, and ends cleanly also while
// downloads are under way.
#include "blackbox_fixture.h"
#include "raw_http_server.h"

#include <QBuffer>
#include <QImage>

#include <atomic>
#include <fstream>
#include <thread>

using namespace pagora::blackbox;
using namespace pagora::testing;
using namespace std::chrono_literals;

namespace {

const std::string message_title = "信息：";

std::string jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return data.toStdString();
}

// Serves page N of the book as an N*20+40 pixels wide JPEG; the pages listed in
// `stalled` never come.
class BookServer {
public:
    BookServer()
        : server_([this](const RawRequest& request, Connection& connection) {
              if (request.target == book_page_path) {
                  connection.send(RawHttpServer::response(200, book_page(), "", "text/html; charset=utf-8"));
                  return;
              }
              const std::string prefix = "/book/files/mobile/";
              if (request.target.rfind(prefix, 0) != 0) {
                  connection.send(RawHttpServer::response(404, "not found"));
                  return;
              }
              const int page = std::atoi(request.target.c_str() + prefix.size());
              if (page == stalled_page_) {
                  connection.hold(60s);
                  return;
              }
              connection.send(RawHttpServer::response(200, jpeg(page * 20 + 40, 90), "", "image/jpeg"));
          })
    {
    }
    static constexpr const char* book_page_path = "/book/38907795.html";
    static constexpr const char* book_title = "测试书";

    std::string book_address() const { return server_.url(book_page_path); }
    std::string image_base() const { return server_.url("/book/files/mobile/"); }
    // A book page as the website serves it: UTF-8, with the title, the page
    // count and the book's folder between their markers.
    std::string book_page() const
    {
        return std::string("<html><head><title>x</title></head><body>\n<script>var book = { title: \"") + book_title +
               "\", pages: \"2\", };</script>\n<input class=\"form-control af-left\" readonly value=\"" +
               server_.url("/book/") + "index.html\">\n <p>share</p>\n</body></html>\n";
    }
    void stall_page(int page) { stalled_page_ = page; }
    std::vector<std::string> targets() const
    {
        std::vector<std::string> result;
        for (const auto& request : server_.requests()) result.push_back(request.target);
        return result;
    }
    bool wait_for_request(const std::string& target, std::chrono::milliseconds timeout) const
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const auto& seen : targets())
                if (seen == target) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

private:
    std::atomic<int> stalled_page_{0};
    RawHttpServer server_;
};

class Download : public Blackbox {
protected:
    // The boxes, as a user fills them in: the image base box lies below the
    // window's edge, and Tab reaches it from the page count box.
    void fill_in(const std::string& title, const std::string& page_count, const std::string& image_base)
    {
        click(432 + 96, 7 + 16); // the title box
        keys("ctrl+a");
        type(title);
        click(493 + 13, 59 + 16); // the page count box
        keys("ctrl+a");
        type(page_count);
        if (!image_base.empty()) {
            keys("Tab Tab Tab Tab ctrl+a"); // homepage, download, source, image base
            type(image_base);
        }
    }
    void press_download() { click(528 + 40, 105 + 23); }

    BookServer server;
};

template <typename Condition>
bool wait_until(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string file_start(const std::filesystem::path& path, std::size_t size)
{
    std::ifstream file(path, std::ios::binary);
    std::string start(size, '\0');
    file.read(start.data(), static_cast<std::streamsize>(size));
    start.resize(static_cast<std::size_t>(file.gcount()));
    return start;
}

TEST_F(Download, SavesTheTypedBookAsPdfAndEndsOnEsc)
{
    ASSERT_NO_FATAL_FAILURE(start());
    fill_in("blackbox", "3", server.image_base());
    press_download();

    const auto box = display->wait_for_window(message_title, 60s);
    ASSERT_TRUE(box.has_value()) << "no completion message";
    EXPECT_EQ(server.targets(), (std::vector<std::string>{"/book/files/mobile/1.jpg", "/book/files/mobile/2.jpg",
                                                          "/book/files/mobile/3.jpg"}));
    const auto pdf = folder / "blackbox.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(file_start(pdf, 5), "%PDF-");
    EXPECT_EQ(run_command("qpdf --show-npages " + shell_quote(pdf.string())), "3\n");
    std::this_thread::sleep_for(300ms); // let the message paint
    screen_shot("completion-message");

    // Closing the message leaves the program running.
    display->run("xdotool windowfocus --sync " + *box + " key Return");
    EXPECT_TRUE(display->wait_until_gone(message_title, 10s));
    EXPECT_TRUE(process->running());

    ASSERT_NO_FATAL_FAILURE(press_escape_and_expect_clean_exit());
}

TEST_F(Download, EndsAtOnceWithAMessageOpenAndADownloadStalled)
{
    ASSERT_NO_FATAL_FAILURE(start());
    fill_in("first", "1", server.image_base());
    press_download();
    ASSERT_TRUE(display->wait_for_window(message_title, 60s).has_value());

    // A second download, with the first one's message still open, that hangs on
    // its second page.
    server.stall_page(2);
    fill_in("second", "2", "");
    press_download();
    ASSERT_TRUE(server.wait_for_request("/book/files/mobile/2.jpg", 30s));

    ASSERT_NO_FATAL_FAILURE(press_escape_and_expect_clean_exit(5s));
    EXPECT_TRUE(std::filesystem::exists(folder / "first.pdf"));
    EXPECT_FALSE(std::filesystem::exists(folder / "second.pdf")) << "an unfinished download leaves no PDF";
}

TEST_F(Download, LoadsTheBookFromTheClipboardAddressAndSavesItInItsFolder)
{
    ASSERT_NO_FATAL_FAILURE(start());
    // Through sh, so that xclip, too, runs on the test's display.
    display->run("sh -c " + shell_quote("printf %s " + shell_quote(server.book_address()) +
                                        " | xclip -selection clipboard >/dev/null"));
    display->run("xdotool mousemove --sync --window " + window_id + " 292 24 click --repeat 2 --delay 80 1");
    ASSERT_TRUE(server.wait_for_request("/book/files/mobile/1.jpg", 30s))
        << "no cover fetched; requests: " << ::testing::PrintToString(server.targets());
    const auto book_folder = folder / BookServer::book_title;
    ASSERT_TRUE(wait_until([&] { return std::filesystem::is_directory(book_folder); }, 10s))
        << "no folder named after the title";
    screenshot("book-loaded");

    press_download();
    const auto box = display->wait_for_window(message_title, 60s);
    ASSERT_TRUE(box.has_value()) << "no completion message";
    const auto pdf = book_folder / (std::string(BookServer::book_title) + ".pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(run_command("qpdf --show-npages " + shell_quote(pdf.string())), "2\n");
    EXPECT_EQ(server.targets().front(), BookServer::book_page_path);

    ASSERT_NO_FATAL_FAILURE(press_escape_and_expect_clean_exit());
}

} // namespace
