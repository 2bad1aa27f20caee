#pragma once

#include "download/save_directory.h"
#include "ui/window.h"
#include "web/gbk_text.h"

namespace pagora {

// The download worker: fetches page images 1 to N (N read from the page count
// box), puts each on a PDF page of its own size, moves the progress label and
// bar after every page, saves "<save folder>/<title>.pdf" and tells the user
// how it went. Reads the boxes at the moment it needs them.
void download_book(Window& window, SaveDirectory& save_directory);

// The texts the worker shows, in code page 936.
namespace download_texts {
// 信息：
inline const GbkText caption{"\xD0\xC5\xCF\xA2\xA3\xBA"};
// 下载完成！
inline const GbkText done{"\xCF\xC2\xD4\xD8\xCD\xEA\xB3\xC9\xA3\xA1"};
// 下载失败：
inline const GbkText failed{"\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xBA"};
// "下载失败：第 <n> 页": page n could not be placed.
GbkText failed_at_page(int page);
// "下载失败：无法写入 <file>": the PDF file could not be written.
GbkText failed_to_write(const std::filesystem::path& file);
// "下载失败：无法创建文档": no document could be made (memory exhausted).
GbkText failed_to_create_document();
} // namespace download_texts

} // namespace pagora
