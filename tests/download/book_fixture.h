#pragma once

#include "download/save_directory.h"
#include "jpeg_fixture.h"
#include "memory_window.h"
#include "raw_http_server.h"
#include "ui/controls.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>

namespace pagora::testing {

// A book served on 127.0.0.1 (page images at /book/files/mobile/<n>.jpg), a
// window whose boxes point at it, and an empty output folder of its own.
class BookFixture : public ::testing::Test {
protected:
    BookFixture()
        : server_([this](const RawRequest& request, Connection& connection) { serve(request, connection); })
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("pagora-download-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        save_directory_.set(folder_);
        window_.set_text(control::image_base_box, GbkText(server_.url("/book/files/mobile/")));
        window_.set_text(control::title_box, "Sample Book"_gbk);
    }
    ~BookFixture() override { std::filesystem::remove_all(folder_); }

    // Serves page n with these bytes; pages not set answer with a 404 page.
    void set_page(int page, Bytes image)
    {
        std::lock_guard lock(mutex_);
        pages_[page] = std::move(image);
    }
    void set_page_count(std::string_view text) { window_.set_text(control::page_count_box, GbkText(text)); }
    std::filesystem::path pdf_path(std::string_view name = "Sample Book.pdf") const { return folder_ / name; }

    std::vector<std::string> captions_written() const
    {
        std::vector<std::string> out;
        for (const auto& w : window_.writes_to(control::progress_label)) out.push_back(w.text.bytes());
        return out;
    }
    std::vector<int> positions_written() const
    {
        std::vector<int> out;
        for (const auto& w : window_.writes_to(control::progress_bar)) out.push_back(w.position);
        return out;
    }
    std::vector<std::string> targets_requested() const
    {
        std::vector<std::string> out;
        for (const auto& r : server_.requests()) out.push_back(r.target);
        return out;
    }
    // Every file in the output folder, so leftovers of a save show up.
    std::vector<std::string> files_in_folder() const
    {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    static Bytes read_file(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::mutex mutex_;
    std::map<int, Bytes> pages_;

protected:
    MemoryWindow window_;
    SaveDirectory save_directory_;
    std::filesystem::path folder_;
    RawHttpServer server_; // last: stops before the pages and the window go away

private:
    void serve(const RawRequest& request, Connection& connection)
    {
        Bytes body;
        bool found = false;
        const std::string prefix = "/book/files/mobile/";
        if (request.target.rfind(prefix, 0) == 0) {
            const int page = std::atoi(request.target.c_str() + prefix.size());
            std::lock_guard lock(mutex_);
            if (auto it = pages_.find(page); it != pages_.end()) {
                body = it->second;
                found = true;
            }
        }
        if (found) connection.send(RawHttpServer::response(200, as_chars(body), "", "image/jpeg"));
        else connection.send(RawHttpServer::response(404, "<html><body>404 Not Found</body></html>", "", "text/html"));
    }
};

} // namespace pagora::testing
