// Reads the thread's key state for the shift masks.
#include "controls/base/input_state.h"

namespace veltrin::controls {
namespace {

bool KeyDown(int key) noexcept {
  return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

int ShiftStateNow() noexcept {
  return (KeyDown(VK_SHIFT) ? kShiftMask : 0) | (KeyDown(VK_CONTROL) ? kCtrlMask : 0) |
         (KeyDown(VK_MENU) ? kAltMask : 0);
}

int ShiftStateFromMouseFlags(WPARAM flags) noexcept {
  return ShiftCtrlFromKeyFlags(flags) | (KeyDown(VK_MENU) ? kAltMask : 0);
}

}  // namespace veltrin::controls
