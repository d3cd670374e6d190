// The parent-controls collection of a user control: the form that hosts it, then the form's
// controls in the order they were added, reported as extenders or as the controls themselves.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrin::controls {

class Extender;
class Form;
class UserControl;

// What the collection's entries report for user controls.
enum class ParentControlsType : int16_t { kControl = 0, kExtender = 1 };

struct ParentControlEntry {
  enum class Kind { kForm, kUserControl, kNativeControl };
  Kind kind;
  Form* form = nullptr;            // the form itself, for kForm
  Extender* extender = nullptr;    // the host's entry: always set except for kForm
  UserControl* control = nullptr;  // set only for kUserControl under ParentControlsType::kControl
  // True when the entry is a user control that hosts other controls; this host nests none.
  bool HostsUserControls() const noexcept { return false; }
};

class ParentControls {
 public:
  // A view over `form`'s controls whose type setting lives in `type` (the owner's).
  ParentControls(Form& form, ParentControlsType& type) noexcept : form_(form), type_(type) {}

  // The number of entries, the form included.
  size_t Count() const noexcept;
  ParentControlsType Type() const noexcept { return type_; }
  void SetType(ParentControlsType type) noexcept { type_ = type; }
  // Entry `index` (0 is the form); raises RunTimeError 9 beyond the last entry.
  ParentControlEntry Item(size_t index) const;

 private:
  Form& form_;
  ParentControlsType& type_;
};

}  // namespace veltrin::controls
