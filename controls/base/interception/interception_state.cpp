// The interception's process-wide state and the shift state of the keyboard.
#include "controls/base/interception/interception_state.h"

namespace veltrin::controls::interception_detail {

VTableSubclass& ControlPatch() {
  static VTableSubclass patch;
  return patch;
}

VTableSubclass& PropertyBrowsingPatch() {
  static VTableSubclass patch;
  return patch;
}

int32_t& AcceleratorCountRef() noexcept {
  static int32_t count = 0;
  return count;
}

int32_t ShiftStateNow() noexcept {
  int32_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

}  // namespace veltrin::controls::interception_detail
