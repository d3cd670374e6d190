// Reads CF_UNICODETEXT, keeping the clipboard open only inside this call.
#include "controls/base/clipboard_text.h"

#include <windows.h>

#include "controls/base/global_memory.h"

namespace veltrin::controls {
namespace {

// Closes the clipboard on every path once it was opened.
class OpenClipboardScope {
 public:
  OpenClipboardScope() noexcept : open_(OpenClipboard(nullptr) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool Open() const noexcept { return open_; }

 private:
  bool open_;  // whether this scope opened the clipboard
};

}  // namespace

std::wstring ClipboardUnicodeText() {
  OpenClipboardScope clipboard;
  if (!clipboard.Open() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::wstring();
  HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
  if (!block) return std::wstring();
  const SIZE_T size = GlobalSize(block);
  if (size < 2 * sizeof(wchar_t)) return std::wstring();
  const GlobalLockScope locked(block);
  if (!locked) return std::wstring();
  return std::wstring(locked.As<const wchar_t>(), size / sizeof(wchar_t) - 1);
}

}  // namespace veltrin::controls
