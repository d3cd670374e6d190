// Keyboard and mouse-button state masks as the controls' events report them: Shift 1, Ctrl 2,
// Alt 4; left button 1, right 2, middle 4.
#pragma once

#include <windows.h>

namespace veltrin::controls {

inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Returns the Shift/Ctrl/Alt mask of the thread's keyboard state now.
int ShiftStateNow() noexcept;

// Returns the Shift/Ctrl mask from the key flags (MK_SHIFT, MK_CONTROL) of a mouse message or an
// OLE drag; Alt is left to the caller, since only a drag's flags carry it.
constexpr int ShiftCtrlFromKeyFlags(WPARAM flags) noexcept {
  return ((flags & MK_SHIFT) ? kShiftMask : 0) | ((flags & MK_CONTROL) ? kCtrlMask : 0);
}

// Returns the Shift/Ctrl mask from a mouse message's key flags (MK_SHIFT, MK_CONTROL), plus Alt
// when Alt is down now (mouse messages do not carry it).
int ShiftStateFromMouseFlags(WPARAM flags) noexcept;

// Returns the button mask from the key flags (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON) of a mouse
// message or an OLE drag.
constexpr int ButtonStateFromMouseFlags(WPARAM flags) noexcept {
  return ((flags & MK_LBUTTON) ? kLeftButton : 0) | ((flags & MK_RBUTTON) ? kRightButton : 0) |
         ((flags & MK_MBUTTON) ? kMiddleButton : 0);
}

}  // namespace veltrin::controls
