// Reads CF_UNICODETEXT, keeping the clipboard open only inside this call.
#include "controls/base/clipboard_text.h"

#include <windows.h>

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

// Keeps a global memory block locked for the scope.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block) noexcept
      : block_(block), data_(static_cast<const wchar_t*>(GlobalLock(block))) {}
  ~LockedGlobal() {
    if (data_) GlobalUnlock(block_);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  const wchar_t* Data() const noexcept { return data_; }

 private:
  HGLOBAL block_;
  const wchar_t* data_;  // null when the lock failed
};

}  // namespace

std::wstring ClipboardUnicodeText() {
  OpenClipboardScope clipboard;
  if (!clipboard.Open() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::wstring();
  HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
  if (!block) return std::wstring();
  const SIZE_T size = GlobalSize(block);
  if (size < 2 * sizeof(wchar_t)) return std::wstring();
  const LockedGlobal locked(block);
  if (!locked.Data()) return std::wstring();
  return std::wstring(locked.Data(), size / sizeof(wchar_t) - 1);
}

}  // namespace veltrin::controls
