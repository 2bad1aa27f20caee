#pragma once

#include "web/gbk_text.h"

#include <optional>

// Text primitives on code page 936 text. Positions are byte positions counted
// from 1; a search that finds nothing yields -1. Searching, splitting, replacing
// and changing case step over a two-byte character (a byte of 0x80 or above and
// the byte after it) as one unit; head, tail and slice count plain bytes.
namespace pagora {

int text_find(const GbkText& text, const GbkText& needle,
              std::optional<int> start_position = std::nullopt, bool ignore_case = false);
int text_find_last(const GbkText& text, const GbkText& needle,
                   std::optional<int> start_position = std::nullopt, bool ignore_case = false);
GbkText text_head(const GbkText& text, int count);
GbkText text_tail(const GbkText& text, int count);
GbkText text_slice(const GbkText& text, int start, int count);
GbkText text_trim(const GbkText& text);
GbkText text_lower(const GbkText& text);
GbkText text_replace(const GbkText& text, const GbkText& find, const GbkText& replacement,
                     bool case_sensitive);
TextArray text_split(const GbkText& text, const GbkText& separator);

} // namespace pagora
