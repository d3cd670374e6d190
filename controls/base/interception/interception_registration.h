// One interception registration held by scope: EnableInterception on construction,
// DisableInterception on destruction, so a control's registrations are released on every path.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

#include "controls/base/interception/vtable_handle.h"

namespace veltrin::controls {

class InterceptionRegistration {
 public:
  InterceptionRegistration() noexcept = default;
  // Registers `control` for `kind`; throws as EnableInterception does (nothing is held then).
  InterceptionRegistration(IUnknown* control, InterceptionKind kind)
      : control_(control), kind_(kind) {
    EnableInterception(control, kind);
  }
  InterceptionRegistration(InterceptionRegistration&& other) noexcept
      : control_(std::exchange(other.control_, nullptr)), kind_(other.kind_) {}
  InterceptionRegistration& operator=(InterceptionRegistration&& other) noexcept {
    if (this != &other) {
      Reset();
      control_ = std::exchange(other.control_, nullptr);
      kind_ = other.kind_;
    }
    return *this;
  }
  ~InterceptionRegistration() { Reset(); }

  // Releases the registration now; the holder becomes empty.
  void Reset() noexcept {
    if (IUnknown* control = std::exchange(control_, nullptr)) DisableInterception(control, kind_);
  }
  explicit operator bool() const noexcept { return control_ != nullptr; }

 private:
  IUnknown* control_ = nullptr;  // the registered control (no reference held); null when empty
  InterceptionKind kind_ = InterceptionKind::kControlInfo;
};

}  // namespace veltrin::controls
