// Registration of controls for interception: the shared patches are installed by the first
// registered control of a kind and removed by the last.
#include "controls/base/interception/vtable_handle.h"

#include <array>

#include "controls/base/com_ptr.h"
#include "controls/base/interception/companion_interfaces.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/replacement_functions.h"

namespace veltrin::controls {
namespace {

using namespace interception_detail;

template <typename Function>
UINT_PTR EntryOf(Function* function) {
  return reinterpret_cast<UINT_PTR>(function);
}

bool Supports(IUnknown* control, REFIID standard, REFIID companion) noexcept {
  const ComPtr<IUnknown> object(control);
  return object.Query<IUnknown>(standard) && object.Query<IUnknown>(companion);
}

// A patched table: which patch object, its marker, and the entries it replaces.
struct PatchedInterface {
  VTableSubclass& patch;
  const wchar_t* marker;
  const IID& iid;
  int first_entry;
  int last_entry;
};

void EnablePatch(IUnknown* control, const PatchedInterface& target,
                 std::span<const UINT_PTR> replacements) {
  if (target.patch.RefCount() == 0 && !InstallMarkerPresent(target.marker)) {
    auto object = ComPtr<IUnknown>(control).Query<IUnknown>(target.iid);
    target.patch.Subclass(object.Get(), target.first_entry, target.last_entry, replacements);
    SetInstallMarker(target.marker);
  }
  target.patch.AddRef();
}

void DisablePatch(const PatchedInterface& target) noexcept {
  if (target.patch.RefCount() == 0) return;
  target.patch.Release();
  if (target.patch.RefCount() == 0) {
    RemoveInstallMarker(target.marker);
    target.patch.UnSubclass();
  }
}

PatchedInterface ControlTarget() {
  return {ControlPatch(), kControlInitMarker, IID_IOleControl, 4, 5};
}

PatchedInterface PropertyBrowsingTarget() {
  return {PropertyBrowsingPatch(), kPropertyBrowsingInitMarker, IID_IPerPropertyBrowsing, 4, 7};
}

}  // namespace

bool SupportsInterception(IUnknown* control, InterceptionKind kind) noexcept {
  switch (kind) {
    case InterceptionKind::kControlInfo:
      return Supports(control, IID_IOleControl, IID_IOleControlVB);
    case InterceptionKind::kAccelerators:
      return Supports(control, IID_IOleInPlaceActiveObject, IID_IOleInPlaceActiveObjectVB);
    case InterceptionKind::kPropertyBrowsing:
      return Supports(control, IID_IPerPropertyBrowsing, IID_IPerPropertyBrowsingVB);
  }
  return false;
}

void EnableInterception(IUnknown* control, InterceptionKind kind) {
  if (!SupportsInterception(control, kind)) return;
  switch (kind) {
    case InterceptionKind::kControlInfo: {
      const std::array<UINT_PTR, 2> replacements = {EntryOf(&ReplacementGetControlInfo),
                                                    EntryOf(&ReplacementOnMnemonic)};
      EnablePatch(control, ControlTarget(), replacements);
      break;
    }
    case InterceptionKind::kAccelerators:
      ++AcceleratorCountRef();
      break;
    case InterceptionKind::kPropertyBrowsing: {
      // MapPropertyToPage (entry 5) stays the host's.
      const std::array<UINT_PTR, 4> replacements = {EntryOf(&ReplacementGetDisplayString), 0,
                                                    EntryOf(&ReplacementGetPredefinedStrings),
                                                    EntryOf(&ReplacementGetPredefinedValue)};
      EnablePatch(control, PropertyBrowsingTarget(), replacements);
      break;
    }
  }
}

void DisableInterception(IUnknown* control, InterceptionKind kind) noexcept {
  if (!SupportsInterception(control, kind)) return;
  switch (kind) {
    case InterceptionKind::kControlInfo:
      DisablePatch(ControlTarget());
      break;
    case InterceptionKind::kAccelerators:
      if (AcceleratorCountRef() > 0) --AcceleratorCountRef();
      break;
    case InterceptionKind::kPropertyBrowsing:
      DisablePatch(PropertyBrowsingTarget());
      break;
  }
}

int32_t AcceleratorCount() noexcept {
  return AcceleratorCountRef();
}

}  // namespace veltrin::controls
