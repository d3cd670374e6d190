// The progress shown on the window's taskbar button, where the system has one (ITaskbarList3,
// Windows 7 on); elsewhere every call does nothing.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "controls/base/com_ptr.h"

namespace veltrin::window {

class TaskbarProgress {
 public:
  explicit TaskbarProgress(HWND window) noexcept : window_(window) {}

  // Shows the share received of total, or a moving bar while the total is unknown (0).
  void Show(std::uint64_t received, std::uint64_t total) noexcept;
  // Removes the progress from the button.
  void Clear() noexcept;

 private:
  // The taskbar list, made at the first use (the button exists by then); null where missing.
  ITaskbarList3* List() noexcept;

  HWND window_;                           // the window whose button shows the progress
  controls::ComPtr<ITaskbarList3> list_;  // null until first used, or where missing
  bool tried_ = false;                    // whether making the list was tried
};

}  // namespace veltrin::window
