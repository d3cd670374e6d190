// How the main window's controls follow its size: the result box takes the extra width and
// height, the blocked-word frame (with what is on it) and the check box above it keep their width
// at the right edge, the frame and its list take the extra height. The layout's own size is the
// smallest the window goes.
#pragma once

#include <windows.h>

#include "desktop/layout.h"

namespace veltrin::window {

// Returns the control's rectangle in client pixels for a client area of the given size; a size
// below the layout's counts as the layout's.
RECT ResizedBounds(const ControlLayout& control, SIZE client) noexcept;

// Returns the smallest outer window size whose client area holds the layout, for a window with
// the given styles (WM_GETMINMAXINFO's minimum tracking size).
SIZE MinimumWindowSize(DWORD style, DWORD extended_style) noexcept;

}  // namespace veltrin::window
