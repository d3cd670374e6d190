// Finds the owner window of a common dialog.
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {

HWND DialogOwnerWindow() noexcept {
  HWND active = GetActiveWindow();
  if (active == nullptr) return nullptr;
  HWND mdi_client = FindWindowExW(active, nullptr, L"MDIClient", nullptr);
  if (mdi_client == nullptr) return active;
  return reinterpret_cast<HWND>(SendMessageW(mdi_client, WM_MDIGETACTIVE, 0, 0));
}

}  // namespace veltrin::dialogs
