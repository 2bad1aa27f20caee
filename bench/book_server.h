#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace pagora::bench {

// The book's website on 127.0.0.1: every file of a book folder, held in memory
// and served under two prefixes, "/fast/" at once and "/slow/" after a delay,
// so one server measures both the loopback and a distant site. "@ORIGIN@" in
// a served text file becomes "http://127.0.0.1:<port>" once the port is known.
class BookServer {
public:
    BookServer(const std::filesystem::path& book_folder, std::chrono::milliseconds slow_delay);
    ~BookServer();

    // Binds to a free port and returns it.
    int bind();
    // Serves until the process ends.
    void listen();

private:
    std::map<std::string, std::string, std::less<>> files_; // by path inside the book folder
    std::chrono::milliseconds slow_delay_;
    std::unique_ptr<httplib::Server> server_;
};

} // namespace pagora::bench
