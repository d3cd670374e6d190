// Keyboard cues, mouse-leave tracking and the pending-character peek.
#include "controls/base/window_input.h"

namespace veltrin::controls {

void ShowKeyboardCues(HWND window) noexcept {
  SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

bool TrackMouseLeave(HWND window) noexcept {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window;
  track.dwHoverTime = 0;
  return TrackMouseEvent(&track) != FALSE;
}

WPARAM PeekCharMessage(HWND window) noexcept {
  MSG message{};
  return PeekMessageW(&message, window, WM_CHAR, WM_CHAR, PM_NOREMOVE) ? message.wParam : 0;
}

}  // namespace veltrin::controls
