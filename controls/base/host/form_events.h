// The events a form raises as it loads, closes, resizes and is activated, and how it is being
// closed.
#pragma once

namespace veltrin::controls {

// How a form is being closed, as QueryUnload is told.
enum class UnloadMode : int {
  kControlMenu = 0,  // the close button, the system menu or Alt+F4 (WM_CLOSE)
  kCode = 1          // the program called Close
};

// Form-level events; the form's code implements what it needs. `cancel` is read back.
struct FormEvents {
  virtual ~FormEvents() = default;
  // Before the form is first shown.
  virtual void Load() {}
  // Before the form closes; set cancel to keep it open.
  virtual void QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
  // As the form closes, after QueryUnload; set cancel to keep it open.
  virtual void Unload(bool& /*cancel*/) {}
  // The client area changed size.
  virtual void Resize() {}
  // The form became the active window, or stopped being it.
  virtual void Activate() {}
  virtual void Deactivate() {}
};

}  // namespace veltrin::controls
