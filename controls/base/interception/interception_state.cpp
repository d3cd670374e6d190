// The interception's process-wide state.
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

}  // namespace veltrin::controls::interception_detail
