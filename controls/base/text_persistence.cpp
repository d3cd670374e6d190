// Text to and from stored byte arrays.
#include "controls/base/text_persistence.h"

namespace veltrin::controls {

PropertyValue TextToStoredValue(std::wstring_view text) {
  if (text.empty()) return PropertyValue();
  ByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const wchar_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>((unit >> 8) & 0xFF));
  }
  return PropertyValue(std::move(bytes));
}

std::wstring StoredValueToText(const PropertyValue& value) {
  if (value.IsEmpty()) return std::wstring();
  const ByteArray bytes = value.ToBytes();
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text;
}

}  // namespace veltrin::controls
