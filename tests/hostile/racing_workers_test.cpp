// Eight download workers on one book while the user loads another: the boxes
// and the save folder change under the workers, yet every file they leave is
// a whole PDF, nothing lands outside the program's folder, and no completion
// is shown for a PDF that was not written.
#include "book/book_loader.h"
#include "download/download_book.h"
#include "download/launch.h"
#include "hostile_site.h"
#include "memory_window.h"
#include "pdf_inspect.h"
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <iostream>
#include <map>
#include <thread>
#include <unistd.h>

namespace pagora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Connection;
using testing::RawHttpServer;
using testing::RawRequest;

constexpr int workers = 8;
constexpr int pages = 8;

// Two books of eight pages on one loopback site, /a/ and /b/. Book A holds
// back its page 3 until book B has been loaded, so every worker is in the
// middle of book A when the boxes change under it, and goes on with book B.
class TwoBooks {
public:
    TwoBooks()
        : a_(testing::serve_book({"Book A", std::to_string(pages), [this](int n) { return image(n, 'a'); }})),
          b_(testing::serve_book({"Book B", std::to_string(pages), [this](int n) { return image(n, 'b'); }})),
          server_([this](const RawRequest& request, Connection& connection) { serve(request, connection); })
    {
    }
    std::string book_address(char book) const { return server_.url(std::string("/") + book + "/book/index.html"); }
    void book_b_loaded()
    {
        std::lock_guard lock(mutex_);
        b_loaded_ = true;
        changed_.notify_all();
    }
    // Waits until `count` workers wait for page 3 of book A.
    bool wait_until_held(int count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [&] { return held_ >= count; });
    }
    // How many page images (the covers left out) each book served.
    int images_served(char book) const
    {
        std::lock_guard lock(mutex_);
        return book == 'a' ? served_a_ : served_b_;
    }

private:
    std::optional<std::string> image(int page, char book)
    {
        if (page < 1 || page > pages) return std::nullopt;
        std::unique_lock lock(mutex_);
        if (book == 'a' && page == 3) {
            ++held_;
            changed_.notify_all();
            changed_.wait_for(lock, 10s, [&] { return b_loaded_; });
        }
        if (page > 1 || calls_[book]++ > 0) ++(book == 'a' ? served_a_ : served_b_);
        lock.unlock();
        return testing::jpeg_body(30 + page, 40, page + (book == 'b' ? 10 : 0));
    }
    // /a/book/... goes to book A as /book/..., and the same for b; the page's
    // folder address then points into the right book through the Host line.
    void serve(const RawRequest& request, Connection& connection)
    {
        RawRequest inner = request;
        const char book = request.target.size() > 2 ? request.target[1] : '?';
        inner.target = request.target.substr(2);
        for (auto& [name, value] : inner.headers)
            if (name == "Host") value += std::string("/") + book;
        if (book == 'a') a_(inner, connection);
        else if (book == 'b') b_(inner, connection);
        else connection.send(RawHttpServer::response(404, ""));
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool b_loaded_ = false;
    int held_ = 0;
    std::map<char, int> calls_;
    int served_a_ = 0, served_b_ = 0;
    RawHttpServer::Handler a_, b_;
    RawHttpServer server_; // last: stops before the handlers go away
};

// Reads the file over and over while it is being replaced: every version
// seen must be a whole PDF, from its header to its end-of-file mark.
class TornFileWatcher {
public:
    explicit TornFileWatcher(fs::path file) : file_(std::move(file)), thread_([this] { watch(); }) {}
    ~TornFileWatcher() { stop(); }
    void stop()
    {
        stopping_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int versions_seen() const { return seen_; }
    int torn_versions() const { return torn_; }

private:
    void watch()
    {
        while (!stopping_) {
            std::ifstream in(file_, std::ios::binary);
            if (in) {
                const std::string bytes((std::istreambuf_iterator<char>(in)), {});
                ++seen_;
                const bool whole = bytes.starts_with("%PDF-") &&
                                   bytes.find("%%EOF", bytes.size() > 32 ? bytes.size() - 32 : 0) != std::string::npos;
                if (!whole) ++torn_;
            }
            std::this_thread::sleep_for(1ms);
        }
    }
    fs::path file_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> seen_{0}, torn_{0};
    std::thread thread_;
};

TEST(RacingWorkers, EightWorkersOnOneBookWhileAnotherLoadsLeaveOnlyWholePdfs)
{
    const fs::path sandbox = fs::temp_directory_path() / ("pagora-racing-" + std::to_string(::getpid()));
    fs::remove_all(sandbox);
    fs::create_directories(sandbox / "program");
    const fs::path target = sandbox / "program" / "Book B" / "Book B.pdf";
    {
        TwoBooks site;
        testing::MemoryWindow window;
        SaveDirectory save_directory;
        window.set_program_folder(sandbox / "program");

        window.set_clipboard(GbkText(site.book_address('a')));
        on_book_address_double_clicked(window, save_directory);
        ASSERT_EQ(window.read_text(control::title_box), "Book A"_gbk);

        for (int i = 0; i < workers; ++i) on_download_clicked(window, save_directory);
        ASSERT_TRUE(site.wait_until_held(workers)) << "the workers did not start";
        window.set_clipboard(GbkText(site.book_address('b')));
        on_book_address_double_clicked(window, save_directory);
        ASSERT_EQ(window.read_text(control::title_box), "Book B"_gbk);
        TornFileWatcher watcher(target);
        site.book_b_loaded();

        // Both books have eight pages, so every worker ends with its eight
        // passes matching the page count box and says it is done.
        ASSERT_TRUE(window.wait_for_messages(workers, 120s)) << "a worker did not come to its end";
        watcher.stop();
        for (const auto& message : window.messages()) EXPECT_EQ(message.text, download_texts::done);
        EXPECT_EQ(site.images_served('a'), workers * 3) << "pages 1 to 3 of book A per worker";
        EXPECT_EQ(site.images_served('b'), workers * (pages - 3)) << "the rest from book B's boxes";
        EXPECT_GT(watcher.versions_seen(), 0);
        EXPECT_EQ(watcher.torn_versions(), 0) << "a reader saw a half-written PDF";

        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(sandbox))
            if (entry.is_regular_file()) files.push_back(entry.path());
        ASSERT_EQ(files, std::vector<fs::path>{target}) << "one PDF, named after the title the box held at the end";
        const auto pdf = testing::inspect_pdf(target);
        EXPECT_TRUE(pdf.valid);
        EXPECT_EQ(pdf.pages.size(), static_cast<std::size_t>(pages));
    }
    std::this_thread::sleep_for(50ms); // the launchers' last pause
    fs::remove_all(sandbox);
}

} // namespace
} // namespace pagora
