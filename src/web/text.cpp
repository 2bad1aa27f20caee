#include "web/text.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {
namespace {

constexpr int not_found = -1;

unsigned char fold(unsigned char byte, bool ignore_case)
{
    return ignore_case && byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

// Length of the character that begins at `at`: two bytes for a lead byte of
// 0x80 or above, one otherwise. A lead byte that is the last byte of the text
// has no character after it.
std::size_t character_length(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

bool is_complete_character(std::string_view text, std::size_t at)
{
    return at + character_length(text, at) <= text.size();
}

// glibc's memmem is linear in the worst case; elsewhere the automaton does it all.
#ifdef __GLIBC__
constexpr bool has_byte_search = true;
#else
constexpr bool has_byte_search = false;
#endif

// Finds the needle at character starts of a text, scanning forward from a given
// offset. Byte matches come from glibc's memmem (fast, and linear in the worst
// case), or, when ignoring case or when memmem keeps stopping at matches that
// begin inside a character, from a Knuth-Morris-Pratt automaton; a character
// cursor tells whether each match begins a character. Either way a whole
// search costs time linear in the text, however the needle repeats.
class CharacterSearch {
public:
    // Only matches that end by `scan_end` are found.
    CharacterSearch(std::string_view text, std::string_view needle, bool ignore_case,
                    std::size_t scan_end = std::string_view::npos)
        : text_(text), needle_(needle), ignore_case_(ignore_case), fallback_(needle.size(), 0),
          scan_end_(scan_end < text.size() ? scan_end : text.size()),
          by_automaton_(ignore_case || !has_byte_search)
    {
        for (std::size_t i = 1, k = 0; i < needle_.size(); ++i) {
            while (k > 0 && at(needle_, i) != at(needle_, k)) k = fallback_[k - 1];
            if (at(needle_, i) == at(needle_, k)) ++k;
            fallback_[i] = k;
        }
    }

    // Scanning starts (and character stepping is counted) from `offset`. Later
    // restarts go on with the same cost account, so that a search restarted
    // after every match stays linear as a whole.
    void restart(std::size_t offset)
    {
        next_ = offset;
        character_ = offset;
        matched_ = 0;
        if (origin_ == std::string_view::npos) origin_ = offset;
    }

    // 0-based offset of the next match at a character start, or npos. The
    // needle must not be empty.
    std::size_t next() { return by_automaton_ ? next_by_automaton() : next_by_byte_search(); }

private:
    // What one memmem call costs beyond the bytes it scans (its set-up), and
    // the allowance before that cost is weighed against the bytes scanned.
    static constexpr std::size_t call_overhead = 256;
    static constexpr std::size_t cost_allowance = 64 * 1024;

    std::size_t next_by_byte_search()
    {
        while (next_ + needle_.size() <= scan_end_) {
            // Many matches close together (inside characters, or overlapping
            // for the last-match search) would cost a call each; once the calls
            // cost more than the bytes they passed over, the automaton goes on
            // from here, with no match half-read.
            byte_search_cost_ += needle_.size() + call_overhead;
            if (byte_search_cost_ > (next_ > origin_ ? next_ - origin_ : 0) + cost_allowance) {
                by_automaton_ = true;
                matched_ = 0;
                return next_by_automaton();
            }
            const std::size_t begin = find_bytes(next_);
            if (begin == std::string_view::npos) break;
            if (begins_character(begin)) {
                next_ = begin + 1; // a later match may overlap this one
                return begin;
            }
            // A match inside a character: the next one can only begin at the
            // next character start.
            next_ = character_ > begin ? character_ : begin + 1;
        }
        next_ = scan_end_;
        return std::string_view::npos;
    }

    // First offset from `from` at which the needle's bytes lie, or npos.
    std::size_t find_bytes(std::size_t from) const
    {
#ifdef __GLIBC__
        const void* hit = ::memmem(text_.data() + from, scan_end_ - from, needle_.data(), needle_.size());
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : std::string_view::npos;
#else
        (void)from;
        return std::string_view::npos; // never called: the automaton does all searches
#endif
    }

    std::size_t next_by_automaton()
    {
        while (next_ < scan_end_) {
            const unsigned char byte = at(text_, next_++);
            while (matched_ > 0 && byte != at(needle_, matched_)) matched_ = fallback_[matched_ - 1];
            if (byte == at(needle_, matched_)) ++matched_;
            if (matched_ < needle_.size()) continue;
            const std::size_t begin = next_ - needle_.size();
            matched_ = fallback_[matched_ - 1];
            if (begins_character(begin)) return begin;
        }
        return std::string_view::npos;
    }

    // Moves the character cursor up to `offset` (never back): true when a whole
    // character begins there. The offset is that of a match, so the text goes
    // on after it. The cursor need not walk every character: a byte below 0x80
    // is a character of its own or a trail byte, so a character begins right
    // after it; from there to the offset only bytes of 0x80 and above follow,
    // which pair up, so the parity of their count decides. Each byte is looked
    // at once at most over the whole search.
    bool begins_character(std::size_t offset)
    {
        if (character_ < offset) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
            std::size_t known_start = offset;
            while (known_start > character_ && bytes[known_start - 1] >= 0x80) --known_start;
            character_ = (offset - known_start) % 2 == 0 ? offset : offset + 1;
        }
        return character_ == offset && is_complete_character(text_, offset);
    }

    unsigned char at(std::string_view s, std::size_t i) const
    {
        return fold(static_cast<unsigned char>(s[i]), ignore_case_);
    }

    std::string_view text_;
    std::string_view needle_;
    bool ignore_case_;
    std::vector<std::size_t> fallback_;
    std::size_t scan_end_;
    std::size_t next_ = 0;      // the next byte the automaton reads; the first a byte search may match at
    std::size_t character_ = 0; // the character start the cursor stands on
    std::size_t matched_ = 0;   // bytes of the needle the automaton has matched
    std::size_t origin_ = std::string_view::npos; // where the first scan began
    std::size_t byte_search_cost_ = 0;
    bool by_automaton_;
};

int position_of(std::size_t offset)
{
    return static_cast<int>(offset) + 1;
}

} // namespace

int text_find(const GbkText& text, const GbkText& needle, std::optional<int> start_position,
              bool ignore_case)
{
    const int start = start_position.value_or(1) < 2 ? 1 : start_position.value_or(1);
    if (static_cast<std::size_t>(start) > text.size()) return not_found;
    if (needle.empty()) return 1;
    CharacterSearch search(text.view(), needle.view(), ignore_case);
    search.restart(static_cast<std::size_t>(start - 1));
    const std::size_t found = search.next();
    return found == std::string_view::npos ? not_found : position_of(found);
}

int text_find_last(const GbkText& text, const GbkText& needle, std::optional<int> start_position,
                   bool ignore_case)
{
    if (start_position && *start_position <= 1) return not_found;
    if (needle.empty()) return text.empty() ? not_found : 1;
    std::size_t limit = text.size();
    if (start_position && static_cast<std::size_t>(*start_position - 1) < limit)
        limit = static_cast<std::size_t>(*start_position - 1);
    if (needle.size() > limit) return not_found;

    CharacterSearch search(text.view(), needle.view(), ignore_case, limit);
    search.restart(0);
    int last = not_found;
    for (std::size_t found = search.next(); found != std::string_view::npos; found = search.next())
        last = position_of(found);
    return last;
}

GbkText text_head(const GbkText& text, int count)
{
    if (count <= 0) return {};
    return GbkText(text.view().substr(0, static_cast<std::size_t>(count)));
}

GbkText text_tail(const GbkText& text, int count)
{
    if (count <= 0) return {};
    const auto n = static_cast<std::size_t>(count);
    if (n >= text.size()) return text;
    return GbkText(text.view().substr(text.size() - n));
}

GbkText text_slice(const GbkText& text, int start, int count)
{
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) return {};
    return GbkText(text.view().substr(static_cast<std::size_t>(start - 1),
                                      static_cast<std::size_t>(count)));
}

GbkText text_trim(const GbkText& text)
{
    const std::string_view bytes = text.view();
    std::size_t first = bytes.size();
    std::size_t end = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = is_complete_character(bytes, at) ? character_length(bytes, at) : 1;
        const std::string_view character = bytes.substr(at, length);
        const bool space = character == " " || character == "\xA1\xA1";
        if (!space) {
            if (first == bytes.size()) first = at;
            end = at + length;
        }
        at += length;
    }
    if (first >= end) return {};
    return GbkText(bytes.substr(first, end - first));
}

GbkText text_lower(const GbkText& text)
{
    std::string lowered = text.bytes();
    for (std::size_t at = 0; at < lowered.size(); at += character_length(lowered, at))
        lowered[at] = static_cast<char>(fold(static_cast<unsigned char>(lowered[at]), true));
    return GbkText(std::move(lowered));
}

GbkText text_replace(const GbkText& text, const GbkText& find, const GbkText& replacement,
                     bool case_sensitive)
{
    if (text.empty() || find.empty()) return text;
    CharacterSearch search(text.view(), find.view(), !case_sensitive);
    search.restart(0);
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t found = search.next(); found != std::string_view::npos; found = search.next()) {
        out.append(text.view().substr(copied, found - copied));
        out.append(replacement.view());
        copied = found + find.size();
        search.restart(copied); // occurrences never overlap
    }
    out.append(text.view().substr(copied));
    return GbkText(std::move(out));
}

TextArray text_split(const GbkText& text, const GbkText& separator)
{
    TextArray pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) return {text};
    CharacterSearch search(text.view(), separator.view(), false);
    search.restart(0);
    std::size_t begin = 0;
    for (std::size_t found = search.next(); found != std::string_view::npos; found = search.next()) {
        pieces.emplace_back(text.view().substr(begin, found - begin));
        begin = found + separator.size();
        search.restart(begin);
    }
    if (begin < text.size()) pieces.emplace_back(text.view().substr(begin));
    return pieces;
}

} // namespace pagora
