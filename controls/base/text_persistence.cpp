// Text to and from stored byte arrays.
#include "controls/base/text_persistence.h"

#include "common/utf16.h"

namespace veltrin::controls {

PropertyValue TextToStoredValue(std::wstring_view text) {
  if (text.empty()) return PropertyValue();
  return PropertyValue(ToUtf16LeBytes(AsU16(text)));
}

std::wstring StoredValueToText(const PropertyValue& value) {
  if (value.IsEmpty()) return std::wstring();
  return ToWide(FromUtf16LeBytes(value.ToBytes()));
}

}  // namespace veltrin::controls
