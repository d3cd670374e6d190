// What the base helpers ask of the control host: its user-interface thread and its screen scale.
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Returns the identifier of the host's user-interface thread (the thread that owns the forms).
DWORD UiThreadId() noexcept;

// Returns the host's horizontal twips per pixel of the screen (15 at 96 DPI).
double HostTwipsPerPixelX() noexcept;

}  // namespace veltrin::controls
