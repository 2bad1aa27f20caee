#include "download/launch.h"

#include "book_fixture.h"
#include "download/download_book.h"

#include <chrono>
#include <condition_variable>

namespace pagora {
namespace {

using namespace std::chrono_literals;

// Every press starts a worker at once: the workers' first fetches are all held
// by the server until three of them wait together.
class DownloadButton : public testing::BookFixture {};

TEST_F(DownloadButton, EveryPressStartsAWorkerAtOnceWhateverTheThreadCountBoxHolds)
{
    for (const char* thread_count : {"1", "0"}) {
        SCOPED_TRACE(thread_count);
        testing::MemoryWindow window;
        window.set_text(control::thread_count_box, GbkText(thread_count));
        window.set_text(control::page_count_box, "1"_gbk);
        window.set_text(control::title_box, GbkText(std::string("held-") + thread_count));

        std::mutex mutex;
        std::condition_variable arrived;
        int waiting = 0;
        bool all_together = false;
        testing::RawHttpServer server([&](const testing::RawRequest&, testing::Connection& connection) {
            {
                std::unique_lock lock(mutex);
                ++waiting;
                arrived.notify_all();
                if (arrived.wait_for(lock, 5s, [&] { return waiting >= 3; })) all_together = true;
            }
            connection.send(testing::RawHttpServer::response(200, as_chars(testing::make_jpeg(20, 30))));
        });
        window.set_text(control::image_base_box, GbkText(server.url("/")));

        const auto start = std::chrono::steady_clock::now();
        for (int press = 0; press < 3; ++press) on_download_clicked(window, save_directory_);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "a press must not wait for its download";

        ASSERT_TRUE(window.wait_for_messages(3, 10s));
        EXPECT_TRUE(all_together) << "three presses did not run three workers at once";
        EXPECT_EQ(server.requests().size(), 3u);
        for (const auto& message : window.messages()) EXPECT_EQ(message.text, download_texts::done);
    }
    EXPECT_EQ(files_in_folder(), (std::vector<std::string>{"held-0.pdf", "held-1.pdf"}));
}

} // namespace
} // namespace pagora
