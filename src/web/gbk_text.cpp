#include "web/gbk_text.h"

#include <cstdio>

namespace pagora {

std::ostream& operator<<(std::ostream& out, const GbkText& text)
{
    out << '"';
    for (char c : text.bytes()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\' && byte != '"') {
            out << c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out << escaped;
        }
    }
    return out << '"';
}

} // namespace pagora
