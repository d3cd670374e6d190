// The outermost container of a user control and the validation of its form's controls, which a
// control runs before it takes the focus.
#pragma once

namespace veltrin::controls {

class UserControl;

// Returns the outermost user control that (through nested user controls) contains `control`;
// `control` itself when it is not nested.
UserControl& OutermostUserControl(UserControl& control);

// Runs the control validation of the form that hosts `control`'s outermost container; does
// nothing when it is not hosted. Lets the form's errors through: RunTimeError 380 means the
// validation was cancelled.
void ValidateContainerControls(UserControl& control);

}  // namespace veltrin::controls
