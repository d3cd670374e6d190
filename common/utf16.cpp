// UTF-16LE byte images and case-insensitive comparison of UTF-16 text.
#include "common/utf16.h"

#include "common/case_fold.h"

namespace veltrin {

std::vector<uint8_t> ToUtf16LeBytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

std::u16string FromUtf16LeBytes(std::span<const uint8_t> bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && SimpleFold(a[i]) != SimpleFold(b[i])) return false;
  }
  return true;
}

}  // namespace veltrin
