#pragma once

#include "web/bytes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pagora::bench {

// The generated book lies in one folder, laid out as the website lays it out:
// "book.html" (the book page, UTF-8, about 2 MB) and "files/mobile/<n>.jpg".
inline constexpr const char* book_page_name = "book.html";
inline constexpr const char* image_folder = "files/mobile/";
inline constexpr int page_width = 1000;
inline constexpr int page_height = 1414;

std::string read_whole_file(const std::filesystem::path& file);
void write_whole_file(const std::filesystem::path& file, const std::string& content);

// The page images 1 .. N of a book folder, in page order.
std::vector<std::filesystem::path> page_files(const std::filesystem::path& book_folder, int pages);

// Writes a book of `pages` noisy JPEG pages and its book page into the folder.
void make_book(const std::filesystem::path& book_folder, int pages);

// A book page of about `size` bytes of UTF-8: Chinese and ASCII filler with
// the title, the page count and the folder address at its end, so that every
// cut reads the whole page. The folder address is "@ORIGIN@/fast/".
std::string make_book_page(std::size_t size, int pages);

} // namespace pagora::bench
