// The parent-controls collection over a form's controls.
#include "controls/base/host/parent_controls.h"

#include "common/run_time_error.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {

size_t ParentControls::Count() const noexcept {
  return form_.ControlCount() + 1;
}

ParentControlEntry ParentControls::Item(size_t index) const {
  if (index >= Count()) throw RunTimeError(kSubscriptOutOfRange);
  if (index == 0) {
    ParentControlEntry entry{ParentControlEntry::Kind::kForm};
    entry.form = &form_;
    return entry;
  }
  Extender& item = form_.ControlAt(index - 1);
  ParentControlEntry entry{item.Control() ? ParentControlEntry::Kind::kUserControl
                                          : ParentControlEntry::Kind::kNativeControl};
  entry.extender = &item;
  if (type_ == ParentControlsType::kControl) entry.control = item.Control();
  return entry;
}

}  // namespace veltrin::controls
