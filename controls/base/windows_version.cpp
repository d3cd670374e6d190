// Reads the system version once for the Windows 2000 test.
#include "controls/base/windows_version.h"

#include <windows.h>

namespace veltrin::controls {

bool IsWindows2000() noexcept {
  static const bool kIsWindows2000 = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) return false;
    return IsWindows2000Version(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
  }();
  return kIsWindows2000;
}

}  // namespace veltrin::controls
