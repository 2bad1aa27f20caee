#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

#include <string>
#include <string_view>

namespace pagora {

// UTF-8 to code page 936. Never fails as a whole: malformed UTF-8 and characters
// that code page 936 lacks each become "?". A NUL byte ends the text, as the page
// text is a NUL-terminated string in the rest of the system.
GbkText utf8_to_gbk(std::string_view utf8);
GbkText utf8_to_gbk(const Bytes& body);

// Code page 936 to UTF-8, for the edges (file names, the toolkit's strings).
// Bytes that are not valid code page 936 each become U+FFFD.
std::string gbk_to_utf8(const GbkText& text);

} // namespace pagora
