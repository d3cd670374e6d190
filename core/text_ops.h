// Literal text operations of the extraction pipeline: replace-all and split, on UTF-16 code units,
// each one left-to-right pass that never rescans its own output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// Replaces every non-overlapping occurrence of `from`, found left to right, by `to`; the inserted
// text is not searched again. An empty `from` leaves the text unchanged. Linear in the text size.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);

// Splits a text at every occurrence of `separator`, keeping empty pieces: k separators give k + 1
// pieces and an empty text gives none. An empty separator gives the whole text as one piece. The
// pieces point into `text`, which must outlive them.
std::vector<std::u16string_view> Split(std::u16string_view text, std::u16string_view separator);

// Returns the position of the first occurrence of `needle` in `haystack` at or after `from`, or
// npos; a faster stand-in for find() on UTF-16, whose standard version scans unit by unit.
std::size_t FindText(std::u16string_view haystack, std::u16string_view needle,
                     std::size_t from = 0);

}  // namespace veltrin
