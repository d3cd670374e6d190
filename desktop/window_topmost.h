// Keeping a top-level window above all others, or returning it to the normal band.
#pragma once

#include <windows.h>

namespace veltrin::window {

// Puts the window in the topmost band (WS_EX_TOPMOST) without moving or sizing it.
void SetWindowTopmost(HWND window) noexcept;

// Returns the window to the normal band without moving or sizing it.
void ClearWindowTopmost(HWND window) noexcept;

}  // namespace veltrin::window
