// UTF-16 text helpers shared by every layer: text as UTF-16LE bytes, a case-insensitive comparison,
// and (where wchar_t is a UTF-16 code unit, as on Windows) free views between the two string types.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// Returns the text's code units as byte pairs, low byte first (UTF-16LE, no byte-order mark).
std::vector<uint8_t> ToUtf16LeBytes(std::u16string_view text);

// Returns the text whose UTF-16LE code units are `bytes`; an odd last byte is dropped.
std::u16string FromUtf16LeBytes(std::span<const uint8_t> bytes);

// Returns whether the texts have the same length and the same code units after simple case
// folding (SimpleFold) of each.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) noexcept;

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is a UTF-16 code unit on Windows");

// Returns the text as a NUL-terminated wide string for a Win32 call (no copy).
inline const wchar_t* WideCStr(const std::u16string& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
// Returns a wide view of the same code units (no copy).
inline std::wstring_view AsWide(std::u16string_view text) noexcept {
  return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}
// Returns a UTF-16 view of the same code units (no copy).
inline std::u16string_view AsU16(std::wstring_view text) noexcept {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}
inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(AsWide(text));
}
inline std::u16string ToU16(std::wstring_view text) {
  return std::u16string(AsU16(text));
}
#endif

}  // namespace veltrin
