#pragma once

#include "web/gbk_text.h"

#include <string>

namespace pagora {

// Makes one file-system name component (UTF-8) out of a book title, so a title
// taken from a web page can never name a place outside the folder it is joined
// to: "/" and "\", the characters Windows refuses (: * ? " < > |) and control
// characters become "_", "." and ".." cannot step out, and an overlong title is
// shortened on a character boundary. The empty title stays empty.
std::string safe_name_component(const GbkText& title);

} // namespace pagora
