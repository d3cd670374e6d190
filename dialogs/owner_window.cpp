// Finds the owner window of a common dialog.
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {

HWND DialogOwnerWindow() noexcept {
  HWND active = GetActiveWindow();
  if (active == nullptr) return nullptr;
  HWND mdiClient = FindWindowExW(active, nullptr, L"MDIClient", nullptr);
  if (mdiClient == nullptr) return active;
  return reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, 0));
}

}  // namespace veltrin::dialogs
