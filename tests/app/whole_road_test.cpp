// The whole road through the real window on the offscreen platform: an address
// on the clipboard, a double-click on the book address box, then "下载", with
// the book served by a real HTTP server on 127.0.0.1.
#include "app/bindings.h"
#include "app/main_window.h"
#include "app/qt_window.h"
#include "download/save_directory.h"
#include "jpeg_fixture.h"
#include "pdf_inspect.h"
#include "qt_test_support.h"
#include "shown_window.h"
#include "raw_http_server.h"
#include "ui/controls.h"
#include "web/codepage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace pagora;
namespace support = pagora::testing;
namespace fs = std::filesystem;
namespace c = pagora::control;

namespace {

std::string sample_page(const std::string& folder)
{
    std::ifstream in(fs::path(PAGORA_BOOK_FIXTURES) / "book_page.html", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string page = text.str();
    for (auto at = page.find("{{FOLDER}}"); at != std::string::npos; at = page.find("{{FOLDER}}"))
        page.replace(at, 10, folder);
    return page;
}

class WholeRoad : public support::ShownWindowTest {
protected:
    void SetUp() override
    {
        base_ = fs::temp_directory_path() / ("pagora-road-" + std::to_string(::getpid()));
        fs::remove_all(base_);
        fs::create_directories(base_);
        show_window(QString::fromStdString(base_.string()));
        bind_handlers(*main_window, *window, save_directory_);
    }
    void TearDown() override
    {
        if (QMessageBox* box = support::open_message_box()) box->close();
        window->shut_down();
        fs::remove_all(base_);
    }

    fs::path base_;
    SaveDirectory save_directory_;
};

TEST_F(WholeRoad, FromAPastedAddressToTheFinishedPdf)
{
    // Pages of different sizes, as real books have (a wider fold-out page 2).
    const std::map<std::string, Bytes> images = {
        {"/b/files/mobile/1.jpg", support::make_jpeg(600, 848, 1)},
        {"/b/files/mobile/2.jpg", support::make_jpeg(1200, 848, 2)},
        {"/b/files/mobile/3.jpg", support::make_jpeg(600, 848, 3)},
    };
    std::string page;
    support::RawHttpServer server([&](const support::RawRequest& request, support::Connection& connection) {
        if (request.target == "/b/38907795.html") {
            connection.send(support::RawHttpServer::response(200, page, "", "text/html; charset=utf-8"));
        } else if (auto it = images.find(request.target); it != images.end()) {
            connection.send(support::RawHttpServer::response(200, as_chars(it->second), "", "image/jpeg"));
        } else {
            connection.send(support::RawHttpServer::response(404, "no such page", "", "text/html"));
        }
    });
    // The sample page says 12 pages; this book has 3.
    page = sample_page(server.url("/b/"));
    for (auto at = page.find("pages: \"12\""); at != std::string::npos; at = std::string::npos)
        page.replace(at, 11, "pages: \"3\"");

    const std::string address = server.url("/b/38907795.html");
    QGuiApplication::clipboard()->setText(QString::fromStdString(address));
    QTest::mouseDClick(get(c::book_address_box), Qt::LeftButton);

    // Loading ran to its end inside the double-click.
    const std::string title = "海边的灯塔 第三期";
    EXPECT_EQ(get<QLineEdit>(c::book_address_box)->text().toStdString(), address);
    EXPECT_EQ(get<QLineEdit>(c::title_box)->text().toStdString(), title);
    EXPECT_EQ(get<QLineEdit>(c::page_count_box)->text(), QStringLiteral("3"));
    EXPECT_EQ(window->read_text(c::image_base_box), GbkText(server.url("/b/files/mobile/")));
    const QPixmap cover = get<QLabel>(c::cover_box)->pixmap();
    EXPECT_EQ(cover.size(), QSize(600, 848));
    EXPECT_TRUE(fs::is_directory(base_ / title));

    QTest::mouseClick(get<QAbstractButton>(c::download_button), Qt::LeftButton);
    ASSERT_TRUE(support::process_events_until([] { return support::open_message_box() != nullptr; },
                                              std::chrono::seconds(30)));
    QMessageBox* box = support::open_message_box();
    EXPECT_EQ(box->text(), QStringLiteral("下载完成！"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("信息："));
    EXPECT_EQ(get<QLabel>(c::progress_label)->text(), QStringLiteral("3"));

    const support::PdfFile pdf = support::inspect_pdf(base_ / title / (title + ".pdf"));
    ASSERT_TRUE(pdf.valid);
    ASSERT_EQ(pdf.pages.size(), 3u);
    EXPECT_EQ(pdf.pages[1].media_box, (std::vector<double>{0, 0, 1200, 848}));
    EXPECT_EQ(pdf.pages[2].image_data, images.at("/b/files/mobile/3.jpg"));
    box->close();
}

} // namespace
