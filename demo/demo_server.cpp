// Serves the bundled sample book on 127.0.0.1 so the program can be tried
// without a network: the book page, with the book folder address pointing back
// at this server, and the page images below that folder.
//
//   pagora-demo-server --root DIR [--port N]
//
// Prints the book page's address as its first line once it listens, then
// serves until SIGINT or SIGTERM. Port 0 (the default) takes any free port.

#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderPlaceholder = "{{FOLDER}}";
constexpr const char* kBookPath = "/book/";

struct Options {
    fs::path root;
    int port = 0;
};

std::optional<std::string> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

bool is_page_image_name(const fs::path& path) {
    const auto stem = path.stem().string();
    return path.extension() == ".jpg" && !stem.empty() && stem.size() <= 6 &&
           stem.find_first_not_of("0123456789") == std::string::npos;
}

// Page number -> JPEG bytes, for every "<n>.jpg" in the book's image folder.
std::map<int, std::string> load_page_images(const fs::path& folder) {
    std::map<int, std::string> pages;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!is_page_image_name(entry.path())) {
            continue;
        }
        if (auto bytes = read_file(entry.path())) {
            pages[std::stoi(entry.path().stem().string())] = std::move(*bytes);
        }
    }
    return pages;
}

std::optional<Options> parse_options(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 < argc && arg == "--root") {
            options.root = argv[++i];
        } else if (i + 1 < argc && arg == "--port") {
            char* end = nullptr;
            const long port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535) {
                return std::nullopt;
            }
            options.port = static_cast<int>(port);
        } else {
            return std::nullopt;
        }
    }
    if (options.root.empty()) {
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = parse_options(argc, argv);
    if (!options) {
        std::cerr << "usage: pagora-demo-server --root SAMPLE_BOOK_DIR [--port N]\n";
        return 2;
    }
    const auto page_template = read_file(options->root / "index.html");
    const auto images = load_page_images(options->root / "files" / "mobile");
    if (!page_template || images.empty()) {
        std::cerr << "pagora-demo-server: no book page or no page images in " << options->root << "\n";
        return 1;
    }

    // Signals are taken by sigwait below, so block them before any thread starts.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    httplib::Server server;
    const int port = options->port == 0 ? server.bind_to_any_port("127.0.0.1")
                                        : (server.bind_to_port("127.0.0.1", options->port) ? options->port : -1);
    if (port <= 0) {
        std::cerr << "pagora-demo-server: cannot listen on 127.0.0.1:" << options->port << "\n";
        return 1;
    }
    const std::string folder = "http://127.0.0.1:" + std::to_string(port) + kBookPath;
    const std::string page = replace_all(*page_template, kFolderPlaceholder, folder);

    server.Get(std::string(kBookPath) + "index.html", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(page, "text/html; charset=utf-8");
    });
    server.Get(std::string(kBookPath) + R"(files/mobile/(\d{1,6})\.jpg)",
               [&](const httplib::Request& req, httplib::Response& res) {
                   const auto found = images.find(std::stoi(req.matches[1].str()));
                   if (found == images.end()) {
                       res.status = 404;
                       return;
                   }
                   res.set_content(found->second, "image/jpeg");
               });
    server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
        std::cerr << req.method << " " << req.path << " -> " << res.status << "\n";
    });

    std::thread serving([&] { server.listen_after_bind(); });
    std::cout << folder << "index.html" << std::endl;

    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    server.stop();
    serving.join();
    return 0;
}
