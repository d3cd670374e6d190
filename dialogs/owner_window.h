// The window that owns every common dialog: the active MDI child when the active window hosts an
// MDI client, else the active window.
#pragma once

#include <windows.h>

namespace veltrin::dialogs {

// Returns the owner for a dialog shown now (null when the thread has no active window).
HWND DialogOwnerWindow() noexcept;

}  // namespace veltrin::dialogs
