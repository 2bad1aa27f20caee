#include "app/main_window.h"
#include "app/qt_window.h"
#include "qt_test_support.h"
#include "shown_window.h"
#include "ui/controls.h"
#include "web/codepage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

using namespace pagora;
using namespace pagora::testing;
using namespace std::chrono_literals;
namespace c = pagora::control;

namespace {

class QtWindowTest : public ShownWindowTest {
protected:
    void SetUp() override { show_window(QStringLiteral("/some/folder")); }
};

// A page like the ones book loading keeps: CR LF line ends, Chinese text, about
// 500 KB.
GbkText big_page()
{
    std::string line = "<p class=\"x\">";
    line += "\xD6\xD0\xCE\xC4"; // 中文
    line += std::string(60, 'a') + "</p>\r\n";
    std::string page;
    while (page.size() < 500 * 1024) page += line;
    return GbkText(page);
}

TEST_F(QtWindowTest, ReadsGiveBackTheWrittenBytesExactly)
{
    const struct {
        const char* name;
        std::string_view control;
        GbkText text;
    } cases[] = {
        {"page with CR LF in the source box", c::source_box, big_page()},
        {"lone CR and LF in the source box", c::source_box, "a\rb\nc\r\n\r\nd"_gbk},
        {"line longer than 32767 characters", c::title_box, GbkText(std::string(40000, 'x'))},
        {"Chinese title", c::title_box, "\xC8\xFD\xCC\xE5"_gbk},
        // Bytes that are no GBK must not come back as question marks.
        {"bytes that are no valid GBK", c::image_base_box, "http://a/\xFF\x80/"_gbk},
        {"empty text", c::page_count_box, ""_gbk},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        window->write_text(entry.control, entry.text);
        const GbkText back = window->read_text(entry.control);
        EXPECT_EQ(back.size(), entry.text.size());
        EXPECT_TRUE(back == entry.text);
    }
    // The box shows the text, too.
    EXPECT_TRUE(get<QPlainTextEdit>(c::source_box)->toPlainText().startsWith(QStringLiteral("a\nb\nc")));
    EXPECT_EQ(get<QLineEdit>(c::title_box)->text(), QStringLiteral("三体"));
}

TEST_F(QtWindowTest, ReadsGiveWhatTheUserTypedAfterAWrite)
{
    window->write_text(c::page_count_box, "12"_gbk);
    QTest::keyClicks(get(c::page_count_box), QStringLiteral("3"));
    EXPECT_EQ(window->read_text(c::page_count_box), GbkText(get<QLineEdit>(c::page_count_box)->text().toStdString()));
    EXPECT_NE(window->read_text(c::page_count_box), "12"_gbk);

    window->write_text(c::source_box, "a\r\nb"_gbk);
    auto* source = get<QPlainTextEdit>(c::source_box);
    source->moveCursor(QTextCursor::End);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("书"));
    QApplication::sendEvent(source, &typed);
    EXPECT_EQ(window->read_text(c::source_box), "a\nb"_gbk + utf8_to_gbk("书"));

    // A new write wins over what was typed.
    window->write_text(c::source_box, "x\r\ny"_gbk);
    EXPECT_EQ(window->read_text(c::source_box), "x\r\ny"_gbk);
}

TEST_F(QtWindowTest, LongTextIsNotCutEvenWhenEditedByHand)
{
    const std::string long_text(40000, 'x');
    window->write_text(c::image_base_box, GbkText(long_text));
    auto* box = get<QLineEdit>(c::image_base_box);
    EXPECT_EQ(box->text().size(), 40000);
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("y"));
    EXPECT_EQ(window->read_text(c::image_base_box), GbkText(long_text + "y"));
}

TEST_F(QtWindowTest, DefaultTextsReadBackAsGbk)
{
    EXPECT_EQ(window->read_text(c::thread_count_box), "10"_gbk);
    EXPECT_EQ(window->read_text(c::title_box), ""_gbk);
    EXPECT_EQ(window->read_text(c::label_title), ""_gbk) << "a label is no edit box";
    EXPECT_EQ(window->read_text("no such control"), ""_gbk);
}

TEST_F(QtWindowTest, PositionIsLimitedToTheBarsRange)
{
    const std::pair<int, int> cases[] = {{0, 0}, {37, 37}, {100, 100}, {150, 100}, {-5, 0}};
    for (auto [written, shown] : cases) {
        window->write_position(c::progress_bar, written);
        EXPECT_EQ(get<QProgressBar>(c::progress_bar)->value(), shown) << written;
    }
}

TEST_F(QtWindowTest, CaptionsAreShownInLabels)
{
    window->write_caption(c::progress_label, "17"_gbk);
    EXPECT_EQ(get<QLabel>(c::progress_label)->text(), QStringLiteral("17"));
    window->write_caption(c::label_title, utf8_to_gbk("书名："));
    EXPECT_EQ(get<QLabel>(c::label_title)->text(), QStringLiteral("书名："));
}

Bytes jpeg(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG"));
    return Bytes(data.begin(), data.end());
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 &&
           std::abs(a.blue() - b.blue()) < 16;
}

TEST_F(QtWindowTest, PictureFillsTheCoverStretchedOrLeavesOnlyTheBackground)
{
    auto* cover = get<QLabel>(c::cover_box);
    const QColor background = cover->grab().toImage().pixelColor(cover->width() / 2, cover->height() / 2);
    const QPoint probes[] = {{2, 2}, {113, 2}, {2, 157}, {113, 157}, {58, 80}};

    for (auto [width, height] : {std::pair{7, 900}, std::pair{2000, 10}, std::pair{116, 160}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        window->write_picture(c::cover_box, jpeg(width, height, Qt::red));
        const QImage shown = cover->grab().toImage();
        for (QPoint probe : probes) EXPECT_TRUE(near(shown.pixelColor(probe), Qt::red)) << probe.x() << "," << probe.y();
    }

    for (const Bytes& no_picture : {Bytes{}, bytes_of("<html>not found</html>"), Bytes{0xFF, 0xD8, 0xFF}}) {
        window->write_picture(c::cover_box, jpeg(50, 50, Qt::blue));
        window->write_picture(c::cover_box, no_picture);
        const QImage shown = cover->grab().toImage();
        for (QPoint probe : probes) EXPECT_EQ(shown.pixelColor(probe), background);
        EXPECT_TRUE(cover->pixmap().isNull());
    }
}

TEST_F(QtWindowTest, ClipboardTextComesAsGbk)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("http://example.com/书.html"));
    EXPECT_EQ(window->clipboard_text(), utf8_to_gbk("http://example.com/书.html"));
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(window->clipboard_text(), ""_gbk);
}

TEST_F(QtWindowTest, ProgramFolderIsTheOneGiven)
{
    EXPECT_EQ(window->program_folder(), std::filesystem::path("/some/folder"));
}

TEST_F(QtWindowTest, CallsFromAWorkerAreDoneWhenTheyReturn)
{
    // If a write only queued its work, the worker's flag would be up while the
    // box still held the old text.
    std::atomic<int> returned{0};
    Worker<GbkText> worker([&] {
        window->write_text(c::title_box, "first"_gbk);
        returned = 1;
        window->write_position(c::progress_bar, 64);
        returned = 2;
        return window->read_text(c::title_box);
    });
    std::string seen_title;
    int seen_position = -1;
    ASSERT_TRUE(process_events_until([&] {
        const int now = returned;
        if (now >= 1 && seen_title.empty()) seen_title = get<QLineEdit>(c::title_box)->text().toStdString();
        if (now >= 2 && seen_position < 0) seen_position = get<QProgressBar>(c::progress_bar)->value();
        return worker.finished();
    }));
    EXPECT_EQ(seen_title, "first");
    EXPECT_EQ(seen_position, 64);
    EXPECT_EQ(worker.get(), "first"_gbk);
}

TEST_F(QtWindowTest, AWorkerWaitsWhileTheGuiThreadIsBusy)
{
    window->write_text(c::page_count_box, "9"_gbk);
    Worker<GbkText> worker([&] { return window->read_text(c::page_count_box); });
    EXPECT_FALSE(worker.wait_blocking(200ms)) << "the read must wait for the GUI thread";
    ASSERT_TRUE(worker.wait_processing_events());
    EXPECT_EQ(worker.get(), "9"_gbk);
}

TEST_F(QtWindowTest, AfterShutDownWaitingAndLaterCallsReturnAtOnce)
{
    window->write_text(c::title_box, "kept"_gbk);
    // The event loop is not running, as after the program's loop has ended: a
    // plain blocking queued call would wait for ever.
    Worker<GbkText> waiting([&] { return window->read_text(c::title_box); });
    EXPECT_FALSE(waiting.wait_blocking(100ms));
    window->shut_down();
    ASSERT_TRUE(waiting.wait_blocking(2s));
    EXPECT_EQ(waiting.get(), ""_gbk);

    Worker<GbkText> later([&] {
        window->write_text(c::title_box, "lost"_gbk);
        window->write_position(c::progress_bar, 50);
        window->write_caption(c::progress_label, "3"_gbk);
        window->write_picture(c::cover_box, jpeg(8, 8, Qt::red));
        window->show_message("done"_gbk, "info"_gbk);
        return window->read_text(c::title_box) + window->clipboard_text();
    });
    ASSERT_TRUE(later.wait_blocking(2s));
    EXPECT_EQ(later.get(), ""_gbk);
    EXPECT_EQ(window->read_text(c::title_box), ""_gbk) << "on the GUI thread as well";
    window->write_text(c::title_box, "lost"_gbk);

    // Nothing queued before or after the shut-down reaches the window.
    QCoreApplication::processEvents();
    EXPECT_EQ(get<QLineEdit>(c::title_box)->text(), QStringLiteral("kept"));
    EXPECT_EQ(get<QProgressBar>(c::progress_bar)->value(), 0);
    EXPECT_EQ(get<QLabel>(c::progress_label)->text(), QString());
}

TEST_F(QtWindowTest, ClosingTheWindowReleasesWaitingWorkers)
{
    Worker<GbkText> waiting([&] { return window->read_text(c::title_box); });
    EXPECT_FALSE(waiting.wait_blocking(100ms));
    QTest::keyClick(get(c::title_box), Qt::Key_Escape);
    ASSERT_TRUE(waiting.wait_blocking(2s));
    EXPECT_EQ(waiting.get(), ""_gbk);
}

TEST_F(QtWindowTest, DestroyingTheWindowReleasesWaitingWorkers)
{
    Worker<GbkText> waiting([&] { return window->read_text(c::title_box); });
    EXPECT_FALSE(waiting.wait_blocking(100ms));
    main_window.reset();
    ASSERT_TRUE(waiting.wait_blocking(2s));
    EXPECT_EQ(waiting.get(), ""_gbk);
    EXPECT_EQ(window->read_text(c::title_box), ""_gbk);
}

} // namespace
