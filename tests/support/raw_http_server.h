#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace pagora::testing {

// One request as it arrived on the wire.
struct RawRequest {
    std::string head; // request line and header lines, CR LF and all, up to and including the empty line
    std::string body;
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers; // in order, values trimmed

    // Value of the first header of that name (any letter case), or "".
    std::string header(std::string_view name) const;
    // How many header lines carry that name (any letter case).
    int count(std::string_view name) const;
};

// The accepted connection a handler answers on.
class Connection {
public:
    explicit Connection(int fd, const std::atomic<bool>& stopping, std::mutex& mutex,
                        std::condition_variable& stopped)
        : fd_(fd), stopping_(stopping), mutex_(mutex), stopped_(stopped) {}
    // Writes all of data; false once the peer is gone.
    bool send(std::string_view data);
    // Aborts the connection with a TCP reset.
    void reset();
    // Waits until the time is up or the server stops; for servers that stall.
    void hold(std::chrono::milliseconds duration);

private:
    int fd_;
    const std::atomic<bool>& stopping_;
    std::mutex& mutex_;
    std::condition_variable& stopped_;
};

// A plain HTTP/1.x server on 127.0.0.1 that hands each raw request to a handler
// and records it. One request per connection; the connection closes when the
// handler returns. Real sockets, so the client under test does a real transfer.
class RawHttpServer {
public:
    using Handler = std::function<void(const RawRequest&, Connection&)>;

    explicit RawHttpServer(Handler handler);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by path.
    std::string url(std::string_view path = "/") const;
    std::vector<RawRequest> requests() const;

    // A complete HTTP/1.1 response with Content-Length and "Connection: close";
    // extra_headers are whole lines, each ended by CR LF.
    static std::string response(int status, std::string_view body,
                                std::string_view extra_headers = "",
                                std::string_view content_type = "application/octet-stream");

private:
    void accept_loop();
    void serve(int fd);

    Handler handler_;
    int listen_fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<RawRequest> requests_;
    std::vector<int> open_fds_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

} // namespace pagora::testing
