// Value rules of the text box's properties: range checks, the alignment styles, and cutting a
// text to a length without splitting a surrogate pair.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrin::controls {

// Raises RunTimeError 380 unless low <= value <= high.
void RequireRange(int32_t value, int32_t low, int32_t high);

// The edit style of an Alignment value: 0 none (left), 1 ES_RIGHT, 2 ES_CENTER.
constexpr DWORD AlignmentStyle(int32_t alignment) noexcept {
  return alignment == 1 ? ES_RIGHT : (alignment == 2 ? ES_CENTER : 0);
}

// The first `count` code units of `text`, one fewer when the cut would leave half a surrogate
// pair at the end.
std::wstring KeepFirstCharacters(std::wstring_view text, size_t count);

// Moves a code-unit index that falls between the halves of a surrogate pair of `text` to the start
// of the pair (`forward`: to its end); other indexes are returned unchanged.
size_t AlignToCharacter(std::wstring_view text, size_t index, bool forward) noexcept;

}  // namespace veltrin::controls
