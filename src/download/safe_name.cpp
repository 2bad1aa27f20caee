#include "download/safe_name.h"

#include "download/pdf_file.h"
#include "web/codepage.h"

#include <string_view>

namespace pagora {
namespace {

// Room for the name itself within the usual 255-byte limit of one component,
// leaving ".pdf" and the temporary tail of a save.
constexpr std::size_t longest_name = 255 - 4 - temporary_suffix_length;

bool refused_in_names(unsigned char c)
{
    if (c < 0x20 || c == 0x7F) return true;
    return std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// Cuts to at most `limit` bytes without splitting a UTF-8 sequence.
void shorten(std::string& utf8, std::size_t limit)
{
    if (utf8.size() <= limit) return;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    utf8.resize(end);
}

} // namespace

std::string safe_name_component(const GbkText& title)
{
    std::string name = gbk_to_utf8(title);
    for (char& c : name)
        if (refused_in_names(static_cast<unsigned char>(c))) c = '_';
    shorten(name, longest_name);
    if (name == "." || name == "..") name.assign(name.size(), '_');
    return name;
}

} // namespace pagora
