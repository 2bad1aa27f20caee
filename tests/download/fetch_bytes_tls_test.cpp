// cpp-httplib comes with OpenSSL support from its pkg-config flags.
#include <httplib.h>

#include "download/fetch_bytes.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace pagora {
namespace {

// An https server on 127.0.0.1 whose certificate is valid for that address but
// signed by nobody the system trusts.
class SelfSignedServer {
public:
    SelfSignedServer()
    {
        folder_ = std::filesystem::temp_directory_path() / ("pagora-tls-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                                    " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                    (folder_ / "key.pem").string() + "' -out '" + (folder_ / "cert.pem").string() +
                                    "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        server_ = std::make_unique<httplib::SSLServer>((folder_ / "cert.pem").c_str(), (folder_ / "key.pem").c_str());
        server_->Get("/1.jpg", [this](const httplib::Request&, httplib::Response& response) {
            ++served_;
            response.set_content("SECRET", "image/jpeg");
        });
        port_ = server_->bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        // stop() only reaches a server that is already listening.
        for (int i = 0; i < 500 && !server_->is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~SelfSignedServer()
    {
        if (server_) server_->stop();
        if (thread_.joinable()) thread_.join();
        std::filesystem::remove_all(folder_);
    }
    bool ready() const { return server_ && server_->is_valid() && port_ > 0; }
    int port() const { return port_; }
    int served() const { return served_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<int> served_{0};
};

TEST(FetchBytesTls, RefusesAServerWhoseCertificateIsNotTrusted)
{
    SelfSignedServer server;
    ASSERT_TRUE(server.ready()) << "could not make a certificate with openssl";

    // The server does answer a client that skips the check...
    httplib::SSLClient lax("127.0.0.1", server.port());
    lax.enable_server_certificate_verification(false);
    const auto answer = lax.Get("/1.jpg");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->body, "SECRET");

    // ...but never fetch_bytes, which checks it.
    EXPECT_TRUE(fetch_bytes(GbkText("https://127.0.0.1:" + std::to_string(server.port()) + "/1.jpg")).empty());
    EXPECT_EQ(server.served(), 1);
}

} // namespace
} // namespace pagora
