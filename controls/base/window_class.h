// The class name of a window, for telling native control kinds apart.
#pragma once

#include <windows.h>

#include <string>

namespace veltrin::controls {

// Returns the class name of `window` (at most 255 characters), or an empty string when it cannot
// be read (for example a destroyed window).
std::wstring WindowClassName(HWND window);

}  // namespace veltrin::controls
