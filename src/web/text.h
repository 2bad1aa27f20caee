#pragma once

#include "web/gbk_text.h"

#include <optional>

// Text primitives on code page 936 text. Positions are byte positions counted
// from 1; a search that finds nothing yields -1. Searching, splitting, replacing
// and changing case step over a two-byte character (a byte of 0x80 or above and
// the byte after it) as one unit, so a match only counts where a character
// begins; head, tail and slice count plain bytes. Ignoring case folds only the
// letters A to Z. Every primitive costs time linear in the text.
namespace pagora {

// First match that begins at or after start_position (absent or below 2: 1).
int text_find(const GbkText& text, const GbkText& needle,
              std::optional<int> start_position = std::nullopt, bool ignore_case = false);
// Last match that ends before start_position (absent: the whole text).
int text_find_last(const GbkText& text, const GbkText& needle,
                   std::optional<int> start_position = std::nullopt, bool ignore_case = false);
GbkText text_head(const GbkText& text, int count);
GbkText text_tail(const GbkText& text, int count);
GbkText text_slice(const GbkText& text, int start, int count);
// Drops leading and trailing spaces: 0x20 and the full-width space A1 A1.
GbkText text_trim(const GbkText& text);
GbkText text_lower(const GbkText& text);
// Replaces every occurrence, left to right, never overlapping.
GbkText text_replace(const GbkText& text, const GbkText& find, const GbkText& replacement = {},
                     bool case_sensitive = true);
// Pieces between separators; a trailing separator adds no empty piece.
TextArray text_split(const GbkText& text, const GbkText& separator);

} // namespace pagora
