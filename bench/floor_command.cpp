// The floor: the same images fetched one after another by plain libcurl in one
// process, a new connection for every image as the worker has to. Given an
// output file, it also keeps every image and writes them all to that file at
// the end: the least that any program turning them into one file must do.
#include "commands.h"
#include "stats.h"

#include <cstdio>
#include <curl/curl.h>
#include <string>
#include <vector>

namespace pagora::bench {
namespace {

std::size_t keep(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& body = *static_cast<std::vector<char>*>(user);
    body.insert(body.end(), data, data + size * count);
    return size * count;
}

} // namespace

int floor_command(const Arguments& args)
{
    const std::string image_base = argument(args, 0, "IMAGE_BASE_URL");
    const int pages = std::stoi(argument(args, 1, "PAGES"));
    const std::string output_file = args.size() > 2 ? args[2] : "";
    std::vector<std::vector<char>> kept;

    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* easy = curl_easy_init();
    std::vector<char> body;
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, keep);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    std::size_t total = 0;
    int failures = 0;
    for (int page = 1; page <= pages; ++page) {
        const std::string url = image_base + std::to_string(page) + ".jpg";
        body.clear();
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        long status = 0;
        if (curl_easy_perform(easy) != CURLE_OK ||
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200 ||
            body.empty())
            ++failures;
        total += body.size();
        if (!output_file.empty()) kept.push_back(std::move(body));
    }
    if (!output_file.empty()) {
        std::FILE* file = std::fopen(output_file.c_str(), "wb");
        for (const auto& image : kept)
            if (!file || std::fwrite(image.data(), 1, image.size(), file) != image.size()) ++failures;
        if (!file || std::fclose(file) != 0) ++failures;
    }
    curl_easy_cleanup(easy);
    curl_global_cleanup();
    std::printf("%zu\n", total);
    if (failures) std::fprintf(stderr, "floor: %d pages failed\n", failures);
    return failures ? 1 : 0;
}

} // namespace pagora::bench
