// Shows the wait cursor for a scope in which the thread blocks.
#pragma once

#include <windows.h>

namespace veltrin::window {

class WaitCursor {
 public:
  WaitCursor() noexcept : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;  // put back when the scope ends
};

}  // namespace veltrin::window
