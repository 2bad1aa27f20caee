#include <httplib.h>

#include "self_signed_server.h"

#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace pagora::testing {

SelfSignedServer::SelfSignedServer()
{
    static std::atomic<int> servers{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("pagora-tls-" + std::to_string(::getpid()) + "-" + std::to_string(servers++));
    std::filesystem::create_directories(folder_);
    const auto key = folder_ / "key.pem";
    const auto certificate = folder_ / "cert.pem";
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                                " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                key.string() + "' -out '" + certificate.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    server_ = std::make_unique<httplib::SSLServer>(certificate.c_str(), key.c_str());
    server_->Get(".*", [this](const httplib::Request&, httplib::Response& response) {
        ++served_;
        response.set_content("SECRET", "image/jpeg");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 500 && !server_->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

SelfSignedServer::~SelfSignedServer()
{
    if (server_) server_->stop();
    if (thread_.joinable()) thread_.join();
    std::filesystem::remove_all(folder_);
}

bool SelfSignedServer::ready() const
{
    return server_ && server_->is_valid() && port_ > 0;
}

std::string SelfSignedServer::url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(port_) + path;
}

} // namespace pagora::testing
