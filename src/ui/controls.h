#pragma once

#include <array>
#include <string_view>

// Names of the main window's controls: the widgets' object names and the keys of
// the window's control operations.
namespace pagora::control {

inline constexpr std::string_view label_book_page = "标签1";
inline constexpr std::string_view book_address_box = "书籍地址框";
inline constexpr std::string_view label_title = "标签2";
inline constexpr std::string_view title_box = "书名框";
inline constexpr std::string_view cover_frame = "图片框1";
inline constexpr std::string_view cover_box = "封面框";
inline constexpr std::string_view label_thread_count = "透明标签2";
inline constexpr std::string_view thread_count_box = "编辑框_线程数";
inline constexpr std::string_view progress_bar = "进度条";
inline constexpr std::string_view label_page_count = "标签3";
inline constexpr std::string_view page_count_box = "页数框";
inline constexpr std::string_view label_done = "标签4";
inline constexpr std::string_view progress_label = "进度标签";
inline constexpr std::string_view label_pages_unit = "标签5";
inline constexpr std::string_view homepage_button = "Zelqua主页";
inline constexpr std::string_view download_button = "按钮2";
inline constexpr std::string_view source_box = "源代码框";
inline constexpr std::string_view image_base_box = "下载绝对地址框";

inline constexpr std::array all = {
    label_book_page, book_address_box, label_title,     title_box,     cover_frame,
    cover_box,       label_thread_count, thread_count_box, progress_bar, label_page_count,
    page_count_box,  label_done,      progress_label,   label_pages_unit, homepage_button,
    download_button, source_box,      image_base_box,
};

} // namespace pagora::control
