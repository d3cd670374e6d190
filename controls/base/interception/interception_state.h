// Process-wide bookkeeping of the interception (used from the user-interface thread only), and
// what the replacement functions share: the patches and the host-call helper.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/base/interception/vtable_subclass.h"

namespace veltrin::controls::interception_detail {

// 1-based entries of the patched interfaces.
inline constexpr int kGetControlInfoEntry = 4;
inline constexpr int kOnMnemonicEntry = 5;

// Returns the patch of the host's IOleControl table, created on first use.
VTableSubclass& ControlPatch();
// Returns the patch of the host's IPerPropertyBrowsing table, created on first use.
VTableSubclass& PropertyBrowsingPatch();
// Returns the number of controls registered for accelerator translation (read and written).
int32_t& AcceleratorCountRef() noexcept;

// Calls the host's own implementation of 1-based `entry` of `object`'s table: the entry is
// switched off for the call and on again afterwards. Returns E_NOTIMPL when the host's function
// cannot be reached (the slot still holds `replacement`) or the switch fails.
template <typename Interface, typename Call>
HRESULT CallHostMethod(VTableSubclass& patch, Interface* object, int entry, const void* replacement,
                       Call call) noexcept {
  try {
    patch.SubclassEntry(entry, false);
  } catch (...) {
    return E_NOTIMPL;
  }
  struct SwitchBackOn {
    VTableSubclass& patch;
    int entry;
    ~SwitchBackOn() {
      try {
        patch.SubclassEntry(entry, true);
      } catch (...) {
        // The slot stays the host's: the control loses its say, the host still answers.
      }
    }
  } switch_back_on{patch, entry};
  // Another copy of this code may hold the slot; calling it would come straight back here.
  const auto* table = *reinterpret_cast<const void* const* const*>(object);
  if (table[entry - 1] == replacement) return E_NOTIMPL;
  return call();
}

}  // namespace veltrin::controls::interception_detail
