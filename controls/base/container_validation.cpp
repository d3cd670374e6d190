// Walks the parent-controls collections outwards and asks the form to validate.
#include "controls/base/container_validation.h"

#include "common/run_time_error.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/host/parent_controls.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {
namespace {

// Restores a collection's type setting on every path.
class TypeScope {
 public:
  explicit TypeScope(ParentControls& controls) noexcept
      : controls_(controls), saved_(controls.Type()) {}
  ~TypeScope() { controls_.SetType(saved_); }
  TypeScope(const TypeScope&) = delete;
  TypeScope& operator=(const TypeScope&) = delete;

 private:
  ParentControls& controls_;
  ParentControlsType saved_;
};

}  // namespace

UserControl& OutermostUserControl(UserControl& control) {
  UserControl* result = &control;
  while (result->ContainerForm()) {
    ParentControls controls = result->ParentControlsCollection();
    if (controls.Count() == 0) break;
    UserControl* next = nullptr;
    {
      const TypeScope restore(controls);
      controls.SetType(ParentControlsType::kExtender);
      if (!controls.Item(0).HostsUserControls()) break;
      controls.SetType(ParentControlsType::kControl);
      next = controls.Item(0).control;
    }
    if (!next || next == result) break;
    result = next;
  }
  return *result;
}

void ValidateContainerControls(UserControl& control) {
  if (Form* form = OutermostUserControl(control).ContainerForm()) form->ValidateControls();
}

MessageResult MouseActivateAfterValidation(UserControl& control, LPARAM l_param) {
  // Shared by every control: a click during one control's validation is not another's.
  static bool validating_focus = false;
  if (LOWORD(l_param) == HTBORDER || validating_focus) return MA_ACTIVATEANDEAT;
  if (HIWORD(l_param) != WM_LBUTTONDOWN) return kNotHandled;
  bool causes_validation = true;
  try {
    causes_validation = control.ExtenderObject().CausesValidation();
  } catch (...) {
    causes_validation = false;
  }
  if (causes_validation) {
    validating_focus = true;
    bool cancelled = false;
    try {
      ValidateContainerControls(control);
    } catch (const RunTimeError& error) {
      cancelled = error.Number() == kInvalidPropertyValue;
    } catch (...) {
      // Other errors of the validation let the control take the focus.
    }
    validating_focus = false;
    if (cancelled) return MA_ACTIVATEANDEAT;
  }
  ::SetFocus(control.hWnd());
  return MA_NOACTIVATE;
}

}  // namespace veltrin::controls
