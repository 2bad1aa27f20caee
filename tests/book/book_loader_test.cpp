#include "book/book_loader.h"

#include "memory_window.h"
#include "raw_http_server.h"
#include "ui/controls.h"
#include "web/codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace pagora;
using pagora::testing::MemoryWindow;
using pagora::testing::RawHttpServer;
namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string replace_all(std::string text, std::string_view from, std::string_view to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

GbkText gbk(std::string_view utf8) { return utf8_to_gbk(utf8); }

// A website on 127.0.0.1 that serves one book page and the book's cover, and
// answers 404 to everything else.
class BookSite {
public:
    BookSite()
        : server_([this](const pagora::testing::RawRequest& request, pagora::testing::Connection& connection) {
              const auto it = files_.find(request.target);
              connection.send(it == files_.end()
                                  ? RawHttpServer::response(404, "not here", "", "text/html")
                                  : RawHttpServer::response(200, it->second));
          })
    {
    }
    void serve(const std::string& path, std::string body) { files_[path] = std::move(body); }
    std::string url(std::string_view path) const { return server_.url(path); }
    const RawHttpServer& server() const { return server_; }
    // The sample page, with its folder address pointing into this site.
    std::string sample_page() const
    {
        return replace_all(read_file(fs::path(PAGORA_BOOK_FIXTURES) / "book_page.html"),
                           "{{FOLDER}}", url("/book/"));
    }

private:
    std::map<std::string, std::string> files_; // filled before the first request
    RawHttpServer server_;
};

class BookLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = fs::temp_directory_path() /
                ("pagora-book-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base_);
        fs::create_directories(base_);
        window_.set_program_folder(base_);
    }
    void TearDown() override { fs::remove_all(base_); }

    void load(const std::string& clipboard_utf8)
    {
        window_.set_clipboard(gbk(clipboard_utf8));
        on_book_address_double_clicked(window_, save_directory_);
    }

    fs::path base_;
    MemoryWindow window_;
    SaveDirectory save_directory_;
};

TEST_F(BookLoading, FillsInTheBookFromItsPage)
{
    BookSite site;
    site.serve("/book/38907795.html", site.sample_page());
    site.serve("/book/files/mobile/1.jpg", "cover bytes");
    const std::string address = site.url("/book/38907795.html");

    load(address);

    EXPECT_EQ(window_.read_text(control::book_address_box), GbkText(address));
    EXPECT_EQ(window_.read_text(control::source_box), gbk(site.sample_page()));
    EXPECT_EQ(window_.read_text(control::title_box), gbk("海边的灯塔 第三期"));
    EXPECT_EQ(window_.read_text(control::page_count_box), GbkText("12"));
    EXPECT_EQ(window_.read_text(control::image_base_box),
              GbkText(site.url("/book/files/mobile/")));
    EXPECT_EQ(window_.picture(control::cover_box), bytes_of("cover bytes"));

    const fs::path folder = base_ / "海边的灯塔 第三期";
    EXPECT_EQ(save_directory_.get(), folder / "");
    EXPECT_TRUE(fs::is_directory(folder));

    // One page request with the default headers, then the cover.
    const auto requests = site.server().requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/book/38907795.html");
    EXPECT_EQ(requests[0].header("Referer"), address);
    EXPECT_EQ(requests[0].header("Accept-Language"), "zh-cn");
    EXPECT_EQ(requests[1].target, "/book/files/mobile/1.jpg");
}

TEST_F(BookLoading, AClipboardAddressReplacesATypedOne)
{
    BookSite site;
    site.serve("/b.html", "title: \"T\",");
    window_.set_text(control::book_address_box, GbkText("typed by hand"));
    load(site.url("/b.html"));
    EXPECT_EQ(window_.read_text(control::book_address_box), GbkText(site.url("/b.html")));
    EXPECT_EQ(window_.read_text(control::title_box), GbkText("T"));
}

// A load that gets no page text keeps the previous book; the output folder is
// rebuilt from the title box as it stands.
TEST_F(BookLoading, WithoutAPageTheBoxesOfThePreviousLoadStay)
{
    BookSite site;
    site.serve("/nul.html", std::string("\0title: \"X\",", 12));
    site.serve("/empty.html", "");
    const std::string refused = [] {
        RawHttpServer closed([](const auto&, auto&) {});
        return closed.url("/gone.html");
    }(); // the server is gone: nothing listens on that port any more

    for (const std::string& clipboard : {std::string(), refused, site.url("/nul.html"),
                                        site.url("/empty.html")}) {
        SCOPED_TRACE(clipboard);
        window_.set_text(control::title_box, gbk("旧书"));
        window_.set_text(control::page_count_box, GbkText("5"));
        window_.set_text(control::image_base_box, GbkText("http://old/files/mobile/"));
        window_.write_picture(control::cover_box, bytes_of("old cover"));
        window_.set_text(control::source_box, GbkText("old page"));

        load(clipboard);

        EXPECT_EQ(window_.read_text(control::book_address_box), GbkText(clipboard));
        EXPECT_EQ(window_.read_text(control::source_box), GbkText());
        EXPECT_EQ(window_.read_text(control::title_box), gbk("旧书"));
        EXPECT_EQ(window_.read_text(control::page_count_box), GbkText("5"));
        EXPECT_EQ(window_.read_text(control::image_base_box), GbkText("http://old/files/mobile/"));
        EXPECT_EQ(window_.picture(control::cover_box), bytes_of("old cover"));
        EXPECT_EQ(save_directory_.get(), base_ / "旧书" / "");
        EXPECT_TRUE(fs::is_directory(base_ / "旧书"));
    }
}

TEST_F(BookLoading, PagesWithMissingOrBrokenMarkers)
{
    struct Case {
        const char* name;
        std::string page; // {{FOLDER}} stands for the site's /book/ folder
        std::string title;
        std::string pages;
        bool folder_found;
    };
    const std::string folder_tag =
        "<input class=\"form-control af-left\" readonly value=\"{{FOLDER}}index.html\">\n <b>";
    const Case cases[] = {
        {"AllMarkers", "title: \"A\",pages: \"3\"," + folder_tag, "A", "3", true},
        {"NoMarkersAtAll", "<html>nothing</html>", "", "", false},
        {"TitleTwice", "title: \"first\",title: \"second\",pages: \"2\"," + folder_tag, "first", "2", true},
        {"EmptyPageCount", "title: \"A\",pages: \"\"," + folder_tag, "A", "", true},
        {"TitleNeverClosed", "pages: \"4\"," + folder_tag + "title: \"open", "", "4", true},
        {"CrLfAfterFolderTag",
         "title: \"A\",pages: \"3\",<input class=\"form-control af-left\" readonly "
         "value=\"{{FOLDER}}index.html\">\r\n <b>",
         "A", "3", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BookSite site;
        site.serve("/book/p.html", replace_all(c.page, "{{FOLDER}}", site.url("/book/")));
        site.serve("/book/files/mobile/1.jpg", "cover");
        window_.write_picture(control::cover_box, bytes_of("old cover"));

        load(site.url("/book/p.html"));

        EXPECT_EQ(window_.read_text(control::title_box), GbkText(c.title));
        EXPECT_EQ(window_.read_text(control::page_count_box), GbkText(c.pages));
        const std::string base = (c.folder_found ? site.url("/book/") : "") + "files/mobile/";
        EXPECT_EQ(window_.read_text(control::image_base_box), GbkText(base));
        // Without a folder the cover address is no web address: the box is cleared.
        EXPECT_EQ(window_.picture(control::cover_box), c.folder_found ? bytes_of("cover") : Bytes());
    }
}

TEST_F(BookLoading, TheCoverIsWhateverTheServerAnswers)
{
    BookSite site;
    site.serve("/book/p.html",
               "title: \"A\",<input class=\"form-control af-left\" readonly value=\"" +
                   site.url("/book/") + "index.html\">\n ");
    load(site.url("/book/p.html")); // no cover there: the 404 page is given to the box
    EXPECT_EQ(window_.picture(control::cover_box), bytes_of("not here"));
}

// A title from a web page names one folder inside the program's folder, never
// a place outside it; the title box keeps the title as the page gave it.
TEST_F(BookLoading, HostileTitlesStayInsideTheProgramFolder)
{
    for (const char* title_bytes : {"../escape", "a/b", "/abs/path", "..", "x\\..\\y"}) {
        const std::string title = title_bytes;
        SCOPED_TRACE(title);
        BookSite site;
        site.serve("/p.html", "title: \"" + title + "\",");
        load(site.url("/p.html"));

        EXPECT_EQ(window_.read_text(control::title_box), GbkText(title));
        const fs::path folder = save_directory_.get().parent_path();
        EXPECT_EQ(folder.parent_path(), base_);
        EXPECT_TRUE(fs::is_directory(folder));
    }
    // Nothing was made beside the program's folder.
    EXPECT_FALSE(fs::exists(base_.parent_path() / "escape"));
    EXPECT_FALSE(fs::exists("/abs"));
}

TEST_F(BookLoading, AnEmptyTitleNamesTheProgramFolderItself)
{
    BookSite site;
    site.serve("/p.html", "pages: \"2\",");
    load(site.url("/p.html"));
    EXPECT_EQ(window_.read_text(control::title_box), GbkText());
    EXPECT_EQ(save_directory_.get(), base_ / "");
}

} // namespace
