#include "book_files.h"

#include "noisy_jpeg.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace pagora::bench {

std::string read_whole_file(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_whole_file(const std::filesystem::path& file, const std::string& content)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::filesystem::path> page_files(const std::filesystem::path& book_folder, int pages)
{
    std::vector<std::filesystem::path> files;
    for (int page = 1; page <= pages; ++page)
        files.push_back(book_folder / image_folder / (std::to_string(page) + ".jpg"));
    return files;
}

void make_book(const std::filesystem::path& book_folder, int pages)
{
    for (int page = 1; page <= pages; ++page) {
        const Bytes jpeg = make_noisy_jpeg(page_width, page_height, static_cast<unsigned>(page));
        write_whole_file(book_folder / image_folder / (std::to_string(page) + ".jpg"),
                         std::string(as_chars(jpeg)));
    }
    write_whole_file(book_folder / book_page_name, make_book_page(std::size_t(2) << 20, pages));
}

std::string make_book_page(std::size_t size, int pages)
{
    // Common characters that code page 936 holds, and some markup between them.
    static const char* const words[] = {"图书", "杂志", "下载", "阅读", "第一章", "目录", "封面",
                                        "出版社", "作者", "简介", "全文", "页面"};
    static const char* const markup[] = {"<p class=\"text\">", "</p>\n", "<span>", "</span>",
                                         "<a href=\"/book/12345.html\">", "</a>", " ", ", "};
    std::mt19937 random(2024);
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n";
    const std::string ending = std::string("<script>\nvar book = {\n  title: \"基准测试之书\",\n  pages: \"") +
                               std::to_string(pages) +
                               "\",\n};\n</script>\n"
                               "<input type=\"text\" class=\"form-control af-left\" readonly "
                               "value=\"@ORIGIN@/fast/index.html\">\n </div></body></html>\n";
    while (page.size() + ending.size() < size) {
        page += words[random() % std::size(words)];
        if (random() % 3 == 0) page += markup[random() % std::size(markup)];
    }
    return page + ending;
}

} // namespace pagora::bench
