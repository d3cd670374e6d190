// Lets a control answer, through its companion interfaces, calls that the host makes on its
// shared IOleControl, IOleInPlaceActiveObject and IPerPropertyBrowsing implementations.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>

#include "controls/base/interception/host_main_window.h"

namespace veltrin::controls {

// What a control asks to intercept; the values are fixed.
enum class InterceptionKind : int {
  kControlInfo = 1,      // IOleControl GetControlInfo and OnMnemonic
  kAccelerators = 2,     // IOleInPlaceActiveObject TranslateAccelerator
  kPropertyBrowsing = 3  // IPerPropertyBrowsing GetDisplayString and the predefined values
};

// Says whether `control` exposes both the standard interface of `kind` and its companion; any
// failed query (or a null control) counts as no.
bool SupportsInterception(IUnknown* control, InterceptionKind kind) noexcept;

// Registers `control` for `kind` when it supports it: the first registration patches the shared
// table (unless the thread's installation marker says it is patched already). Throws
// RunTimeError 5 when the table cannot be made writable.
void EnableInterception(IUnknown* control, InterceptionKind kind);
// Undoes one EnableInterception; the last one for a kind puts the table back.
void DisableInterception(IUnknown* control, InterceptionKind kind) noexcept;

// Returns how many controls are registered for accelerator translation.
int32_t AcceleratorCount() noexcept;

// Installs, as the active object of the control's in-place frame and document window, a wrapper
// that lets the control's companion translate keys first (the control's own interface when no
// control is registered for accelerators). Failures end the operation silently.
void ActivateAccelerators(IUnknown* control) noexcept;
// Removes the wrapper again from frame and document window and lets go of the wrapped control;
// nothing happens when no wrapper is installed.
void DeactivateAccelerators() noexcept;

// Passes the position and clip rectangles that the control's in-place site reports to the
// control's IOleInPlaceObject; failures are ignored.
void SyncObjectRects(IUnknown* control) noexcept;

// Tells the control site that the control information changed and, when `focused`, that the
// control has the focus; failures are ignored.
void NotifyControlInfoChanged(IUnknown* control, bool focused) noexcept;

// Returns the dispatch identifier of member `name` of `object`. Throws RunTimeError 91 for a null
// object and 438 when the object does not know the name.
DISPID GetDispId(IUnknown* object, const std::wstring& name);

}  // namespace veltrin::controls
