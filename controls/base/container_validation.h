// The outermost container of a user control and the validation of its form's controls, which a
// control runs before it takes the focus.
#pragma once

#include <windows.h>

#include "controls/base/window/message_handler.h"

namespace veltrin::controls {

class UserControl;

// Returns the outermost user control that (through nested user controls) contains `control`;
// `control` itself when it is not nested.
UserControl& OutermostUserControl(UserControl& control);

// Runs the control validation of the form that hosts `control`'s outermost container; does
// nothing when it is not hosted. Lets the form's errors through: RunTimeError 380 means the
// validation was cancelled.
void ValidateContainerControls(UserControl& control);

// Answers WM_MOUSEACTIVATE for a control whose own window does not have the focus yet. A press on
// the border, or any press while such a validation runs, is swallowed. A left press first lets the
// form validate its controls (unless the control's CausesValidation is False) and is swallowed
// when that is cancelled, so the focus stays; otherwise the control's window takes the focus
// without activating. Other presses get the default handling.
MessageResult MouseActivateAfterValidation(UserControl& control, LPARAM l_param);

}  // namespace veltrin::controls
