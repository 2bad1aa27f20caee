#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class SSLServer;
}

namespace pagora::testing {

// An https server on 127.0.0.1 whose certificate names that address but is
// signed by itself, so nobody trusts it. Answers every GET with "SECRET".
class SelfSignedServer {
public:
    SelfSignedServer();
    ~SelfSignedServer();
    SelfSignedServer(const SelfSignedServer&) = delete;
    SelfSignedServer& operator=(const SelfSignedServer&) = delete;

    bool ready() const;
    int port() const { return port_; }
    std::string url(const std::string& path) const;
    int served() const { return served_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<int> served_{0};
};

} // namespace pagora::testing
