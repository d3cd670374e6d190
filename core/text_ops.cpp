// Replace-all and split over UTF-16 text. Removals and same-length replacements compact the text in
// place; a growing replacement widens it once and fills it from the back.
#include "core/text_ops.h"

#include <algorithm>
#include <cstring>

namespace veltrin {

std::size_t FindText(std::u16string_view haystack, std::u16string_view needle, std::size_t from) {
  const std::size_t n = haystack.size();
  const std::size_t m = needle.size();
  if (m == 0) return from <= n ? from : std::u16string_view::npos;
  if (from >= n || n - from < m) return std::u16string_view::npos;
  const char16_t first = needle[0];
  const char16_t* const base = haystack.data();
  const char16_t* p = base + from;
  const char16_t* const last = base + (n - m);  // the last position where a match can start
  const std::size_t rest_bytes = (m - 1) * sizeof(char16_t);
  // std::find lets the compiler vectorise the scan for the first unit.
  while (p <= last) {
    p = std::find(p, last + 1, first);
    if (p > last) break;
    if (std::memcmp(p + 1, needle.data() + 1, rest_bytes) == 0) {
      return static_cast<std::size_t>(p - base);
    }
    ++p;
  }
  return std::u16string_view::npos;
}

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return;
  std::size_t hit = FindText(text, from);
  if (hit == std::u16string_view::npos) return;

  if (to.size() <= from.size()) {
    // The output never overtakes the input, so compact in place.
    char16_t* const data = text.data();
    std::size_t write = hit;
    std::size_t read = hit;
    while (hit != std::u16string_view::npos) {
      if (write != read) std::memmove(data + write, data + read, (hit - read) * sizeof(char16_t));
      write += hit - read;
      std::memcpy(data + write, to.data(), to.size() * sizeof(char16_t));
      write += to.size();
      read = hit + from.size();
      hit = FindText(text, from, read);
    }
    const std::size_t tail = text.size() - read;
    if (write != read) std::memmove(data + write, data + read, tail * sizeof(char16_t));
    text.resize(write + tail);
    return;
  }

  // Growing: note where the matches are, widen the text once (in place when its capacity
  // allows), then move the pieces into place from the back so that nothing is overwritten early.
  std::vector<std::size_t> hits;
  for (std::size_t at = hit; at != std::u16string_view::npos;
       at = FindText(text, from, at + from.size())) {
    hits.push_back(at);
  }
  const std::size_t old_size = text.size();
  const std::size_t growth = to.size() - from.size();
  text.resize(old_size + hits.size() * growth);
  char16_t* const data = text.data();
  std::size_t read_end = old_size;      // end of the part not yet moved
  std::size_t write_end = text.size();  // where that part ends once moved
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    const std::size_t tail_start = *it + from.size();
    const std::size_t tail = read_end - tail_start;
    write_end -= tail;
    std::memmove(data + write_end, data + tail_start, tail * sizeof(char16_t));
    write_end -= to.size();
    std::memcpy(data + write_end, to.data(), to.size() * sizeof(char16_t));
    read_end = *it;
  }
}

std::vector<std::u16string_view> Split(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::u16string_view> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  std::size_t start = 0;
  for (std::size_t hit = FindText(text, separator); hit != std::u16string_view::npos;
       hit = FindText(text, separator, start)) {
    pieces.push_back(text.substr(start, hit - start));
    start = hit + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

}  // namespace veltrin
