// SetWindowPos with the topmost and not-topmost insert-after handles.
#include "desktop/window_topmost.h"

namespace veltrin::window {

void SetWindowTopmost(HWND window) noexcept {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void ClearWindowTopmost(HWND window) noexcept {
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace veltrin::window
