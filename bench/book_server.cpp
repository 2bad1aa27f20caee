#include "book_server.h"

#include "book_files.h"

#include <httplib.h>
#include <thread>

namespace pagora::bench {

BookServer::BookServer(const std::filesystem::path& book_folder, std::chrono::milliseconds slow_delay)
    : slow_delay_(slow_delay), server_(std::make_unique<httplib::Server>())
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(book_folder)) {
        if (entry.is_regular_file())
            files_[entry.path().lexically_relative(book_folder).generic_string()] = read_whole_file(entry.path());
    }
    server_->Get(R"(/(fast|slow)/(.*))", [this](const httplib::Request& request, httplib::Response& response) {
        if (request.matches[1] == "slow") std::this_thread::sleep_for(slow_delay_);
        const auto it = files_.find(request.matches[2].str());
        if (it == files_.end()) {
            response.status = 404;
            return;
        }
        const bool is_image = it->first.ends_with(".jpg");
        response.set_content(it->second, is_image ? "image/jpeg" : "text/html; charset=utf-8");
    });
}

BookServer::~BookServer() = default;

int BookServer::bind()
{
    const int port = server_->bind_to_any_port("127.0.0.1");
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    for (auto& [name, content] : files_) {
        if (name.ends_with(".jpg")) continue;
        for (auto at = content.find("@ORIGIN@"); at != std::string::npos; at = content.find("@ORIGIN@", at))
            content.replace(at, 8, origin);
    }
    return port;
}

void BookServer::listen()
{
    server_->listen_after_bind();
}

} // namespace pagora::bench
