// The host facts the base helpers use.
#include "controls/base/host_services.h"

#include "controls/base/dpi.h"

namespace veltrin::controls {

DWORD UiThreadId() noexcept {
  // The host runs every form on the thread that first asks; that is the thread whose messages the
  // modeless-dialog hook must see.
  static const DWORD kThread = GetCurrentThreadId();
  return kThread;
}

double HostTwipsPerPixelX() noexcept {
  const int pixelsPerInch = ScreenPixelsPerInchX();
  return pixelsPerInch > 0 ? 1440.0 / pixelsPerInch : 15.0;
}

}  // namespace veltrin::controls
