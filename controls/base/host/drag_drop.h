// OLE drag and drop of user controls: the drop target registered on a container whose drop mode
// is manual, and the drag source behind OLEDrag. Both report to the control's notifications.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>

#include "controls/base/com_ptr.h"

namespace veltrin::controls {

class UserControl;

// Creates the drop target of `control` (what RegisterControlDropTarget registers): its methods turn
// OLE's calls into the control's OLEDragOver and OLEDragDrop and never let an error out. The
// target must not be used after the control is gone.
ComPtr<IDropTarget> CreateControlDropTarget(UserControl& control);

// Registers a drop target on the control's container window; false when OLE refuses (for example
// when OLE is not initialised on the thread).
bool RegisterControlDropTarget(UserControl& control) noexcept;

// Runs OLEStartDrag, then (when effects are allowed) DoDragDrop with a new data object, and
// OLECompleteDrag with the final effect (0 when cancelled).
void StartOleDrag(UserControl& control);

// The Button argument of the drag notifications from OLE key-state flags: 1 left, 2 right,
// 4 middle.
int16_t DragButtonState(DWORD key_state) noexcept;
// The Shift argument from OLE key-state flags: 1 Shift, 2 Ctrl, 4 Alt.
int16_t DragShiftState(DWORD key_state) noexcept;

}  // namespace veltrin::controls
