// The COM object of a hosted user control: one C++ class whose interface tables (IOleObject,
// IOleControl, IOleInPlaceObject, IOleInPlaceActiveObject, IPerPropertyBrowsing, IDispatch) are
// shared by every user control, so that patching one table reaches them all.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "controls/base/com_ptr.h"

namespace veltrin::controls {

class UserControl;

// Creates the COM object of `control` (one reference, for the caller).
ComPtr<IUnknown> CreateUserControlObject(UserControl& control);
// Cuts the object off from its control (before the control goes); later calls answer
// E_UNEXPECTED, while references held elsewhere stay valid. `object` must come from
// CreateUserControlObject.
void DetachUserControlObject(IUnknown* object) noexcept;

}  // namespace veltrin::controls
