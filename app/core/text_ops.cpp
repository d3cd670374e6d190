// Replace-all and split over UTF-16 text. Removals and same-length replacements compact the text in
// place; a growing replacement counts first and then builds the result once.
#include "app/core/text_ops.h"

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

  std::size_t count = 0;
  for (std::size_t at = hit; at != std::u16string_view::npos; at = FindText(text, from, at + from.size())) {
    ++count;
  }
  std::u16string result;
  result.reserve(text.size() + count * (to.size() - from.size()));
  std::size_t read = 0;
  for (; hit != std::u16string_view::npos; hit = FindText(text, from, read)) {
    result.append(text, read, hit - read);
    result.append(to);
    read = hit + from.size();
  }
  result.append(text, read, std::u16string::npos);
  text = std::move(result);
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
