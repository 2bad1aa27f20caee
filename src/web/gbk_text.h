#pragma once

#include <compare>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagora {

// Text as the core keeps it: bytes in code page 936 (GBK). ASCII bytes mean the
// same in GBK, so ASCII literals are valid texts; anything else enters through
// the conversions in codepage.h or as \x-escaped GBK bytes. The named type keeps
// GBK text from mixing silently with UTF-8 strings (file names, Qt strings).
class GbkText {
public:
    GbkText() = default;
    explicit GbkText(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit GbkText(std::string_view bytes) : bytes_(bytes) {}
    explicit GbkText(const char* bytes) : bytes_(bytes ? bytes : "") {}

    const std::string& bytes() const noexcept { return bytes_; }
    std::string_view view() const noexcept { return bytes_; }
    std::size_t size() const noexcept { return bytes_.size(); }
    bool empty() const noexcept { return bytes_.empty(); }
    // Byte at a 0-based offset.
    unsigned char byte(std::size_t offset) const noexcept
    {
        return static_cast<unsigned char>(bytes_[offset]);
    }

    GbkText& operator+=(const GbkText& more)
    {
        bytes_ += more.bytes_;
        return *this;
    }
    friend GbkText operator+(GbkText left, const GbkText& right)
    {
        left += right;
        return left;
    }
    friend bool operator==(const GbkText&, const GbkText&) = default;
    friend auto operator<=>(const GbkText&, const GbkText&) = default;

private:
    std::string bytes_;
};

// An ordered list of texts, as splitting a text yields it.
using TextArray = std::vector<GbkText>;

inline namespace literals {
// "abc"_gbk: only for ASCII or \x-escaped GBK bytes, never for UTF-8 literals.
inline GbkText operator""_gbk(const char* bytes, std::size_t size)
{
    return GbkText(std::string_view(bytes, size));
}
} // namespace literals

// Prints printable ASCII as is and every other byte as \xHH, so test failures
// show GBK text readably whatever the terminal's encoding.
std::ostream& operator<<(std::ostream& out, const GbkText& text);

} // namespace pagora
