// Reads a window's class name.
#include "controls/base/window_class.h"

namespace veltrin::controls {

std::wstring WindowClassName(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace veltrin::controls
