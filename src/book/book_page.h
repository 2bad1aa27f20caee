#pragma once

#include "web/gbk_text.h"

// The fixed texts by which a book page gives away its title, page count and
// folder address. The page holds title and page count as quoted values in a
// script ("title: \"...\",", "pages: \"...\","), and the folder address as the
// value of a read-only input whose tag is followed by one line feed and one
// space.
namespace pagora::book_page {

inline const GbkText title_left{"title: \""};
inline const GbkText pages_left{"pages: \""};
inline const GbkText quoted_value_right{"\","};
inline const GbkText folder_left{"class=\"form-control af-left\" readonly value=\""};
inline const GbkText folder_right{"index.html\">\n "};

// Appended to the folder address: the folder of the page images.
inline const GbkText image_folder{"files/mobile/"};
// Page 1's image, shown as the cover.
inline const GbkText cover_image{"files/mobile/1.jpg"};

} // namespace pagora::book_page
