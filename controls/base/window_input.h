// Small input services around the controls' native windows: keyboard cues, mouse-leave tracking
// and a look at a pending character.
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Asks `window` to show focus rectangles and keyboard accelerators (WM_UPDATEUISTATE, UIS_CLEAR).
void ShowKeyboardCues(HWND window) noexcept;

// Asks for one WM_MOUSELEAVE when the mouse leaves `window`; returns whether tracking started.
bool TrackMouseLeave(HWND window) noexcept;

// Returns the character code of a WM_CHAR waiting in the queue for `window` (left there), or 0.
WPARAM PeekCharMessage(HWND window) noexcept;

}  // namespace veltrin::controls
