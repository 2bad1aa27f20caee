#include "raw_http_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace pagora::testing {
namespace {

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

void parse_head(RawRequest& request)
{
    std::string_view rest = request.head;
    bool first = true;
    while (!rest.empty()) {
        const auto end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        if (line.empty()) break;
        if (first) {
            first = false;
            const auto a = line.find(' ');
            const auto b = line.rfind(' ');
            request.method = std::string(line.substr(0, a));
            if (a != std::string_view::npos && b > a) {
                request.target = std::string(line.substr(a + 1, b - a - 1));
                request.version = std::string(line.substr(b + 1));
            }
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        request.headers.emplace_back(std::string(line.substr(0, colon)),
                                     trim(line.substr(colon + 1)));
    }
}

} // namespace

std::string RawRequest::header(std::string_view name) const
{
    for (const auto& [key, value] : headers)
        if (same_name(key, name)) return value;
    return {};
}

int RawRequest::count(std::string_view name) const
{
    return static_cast<int>(std::count_if(headers.begin(), headers.end(),
                                          [&](const auto& h) { return same_name(h.first, name); }));
}

bool Connection::send(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void Connection::reset()
{
    linger hard{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::shutdown(fd_, SHUT_RDWR);
}

void Connection::hold(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    stopped_.wait_for(lock, duration, [&] { return stopping_.load(); });
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler))
{
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_fd_ < 0) throw std::runtime_error("socket failed");
    const int yes = 1;
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_fd_, 64) != 0) {
        ::close(listen_fd_);
        throw std::runtime_error("bind/listen on 127.0.0.1 failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { accept_loop(); });
}

RawHttpServer::~RawHttpServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (int fd : open_fds_) ::shutdown(fd, SHUT_RDWR); // wakes reads and writes
    }
    stopped_.notify_all();
    acceptor_.join();
    for (auto& worker : workers_) worker.join();
    ::close(listen_fd_);
}

std::string RawHttpServer::url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<RawRequest> RawHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string RawHttpServer::response(int status, std::string_view body,
                                    std::string_view extra_headers, std::string_view content_type)
{
    std::string out = "HTTP/1.1 " + std::to_string(status) + " Status\r\n";
    out += "Content-Type: " + std::string(content_type) + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "Connection: close\r\n";
    out += extra_headers;
    out += "\r\n";
    out += body;
    return out;
}

void RawHttpServer::accept_loop()
{
    while (!stopping_) {
        pollfd waiting{listen_fd_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(fd);
            break;
        }
        open_fds_.push_back(fd);
        workers_.emplace_back([this, fd] { serve(fd); });
    }
}

void RawHttpServer::serve(int fd)
{
    RawRequest request;
    std::string received;
    char buffer[16384];
    std::size_t head_end = std::string::npos;
    while (head_end == std::string::npos) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        received.append(buffer, static_cast<std::size_t>(n));
        head_end = received.find("\r\n\r\n");
    }
    if (head_end != std::string::npos) {
        request.head = received.substr(0, head_end + 4);
        request.body = received.substr(head_end + 4);
        parse_head(request);
        Connection connection(fd, stopping_, mutex_, stopped_);
        if (same_name(request.header("Expect"), "100-continue"))
            connection.send("HTTP/1.1 100 Continue\r\n\r\n");
        const std::string length_text = request.header("Content-Length");
        const std::size_t length = length_text.empty() ? 0 : std::stoul(length_text);
        while (request.body.size() < length) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.body.append(buffer, static_cast<std::size_t>(n));
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        handler_(request, connection);
    }
    std::lock_guard lock(mutex_);
    open_fds_.erase(std::remove(open_fds_.begin(), open_fds_.end(), fd), open_fds_.end());
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

} // namespace pagora::testing
