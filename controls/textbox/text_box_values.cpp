// Value rules of the text box's properties.
#include "controls/textbox/text_box_values.h"

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

bool IsHighSurrogate(wchar_t code) noexcept {
  return code >= 0xD800 && code <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t code) noexcept {
  return code >= 0xDC00 && code <= 0xDFFF;
}

}  // namespace

void RequireRange(int32_t value, int32_t low, int32_t high) {
  if (value < low || value > high) throw RunTimeError(kInvalidPropertyValue);
}

std::wstring KeepFirstCharacters(std::wstring_view text, size_t count) {
  if (text.size() <= count) return std::wstring(text);
  return std::wstring(text.substr(0, AlignToCharacter(text, count, false)));
}

size_t AlignToCharacter(std::wstring_view text, size_t index, bool forward) noexcept {
  if (index == 0 || index >= text.size()) return index;
  if (!IsHighSurrogate(text[index - 1]) || !IsLowSurrogate(text[index])) return index;
  return forward ? index + 1 : index - 1;
}

}  // namespace veltrin::controls
