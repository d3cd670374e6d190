// FormatMessageW with a buffer it allocates, released on every path.
#include "core/system_error_win32.h"

#include <windows.h>

#include "common/utf16.h"

namespace veltrin {

std::u16string SystemErrorText(uint32_t code, const wchar_t* module_name) {
  DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  HMODULE module = module_name ? GetModuleHandleW(module_name) : nullptr;
  if (module) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (buffer) {
    text = AsU16(std::wstring_view(buffer, length));
    LocalFree(buffer);
  }
  for (char16_t& unit : text) {
    if (unit == u'\r' || unit == u'\n') unit = u' ';
  }
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.pop_back();
  return text;
}

}  // namespace veltrin
