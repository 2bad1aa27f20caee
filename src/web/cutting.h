#pragma once

#include "web/gbk_text.h"

#include <optional>

// Cutting routines built on the text primitives: the marker searches that take
// addresses, header blocks and cookie texts apart.
namespace pagora {

// The text between the first left marker found from start_position and the
// first right marker after it; empty when either is missing. "#引号" in a
// marker stands for a double quote, so markers can hold one.
GbkText text_between(const GbkText& text, const GbkText& left_marker, const GbkText& right_marker,
                     std::optional<int> start_position = std::nullopt, bool ignore_case = false);

// The text from position 1 up to the first marker found from start_position;
// empty when the marker is missing.
GbkText text_before(const GbkText& text, const GbkText& marker,
                    std::optional<int> start_position = std::nullopt, bool ignore_case = false);

// The trimmed text after the first ":" of a header line; empty without ":".
GbkText header_value(const GbkText& line);

// 1-based index of the first item equal to text, byte for byte, or -1.
int index_of_item(const TextArray& items, const GbkText& text);

// The separated items of text with repeats removed, in order of first
// appearance, joined again by the separator.
GbkText remove_duplicate_items(const GbkText& text, const GbkText& separator);

} // namespace pagora
