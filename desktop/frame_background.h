// Paints the inside of a frame (group box): the form clips its children, so it never paints under
// the frame, and a group box draws only its border and caption.
#pragma once

#include <windows.h>

#include "controls/base/window/message_handler.h"
#include "controls/base/window/scoped_subclass.h"

namespace veltrin::window {

class FrameBackground : public controls::MessageHandler {
 public:
  // Subclasses the frame until this object goes (or the frame is destroyed first).
  explicit FrameBackground(HWND frame);

 protected:
  controls::MessageResult OnEraseBkgnd(HDC dc) override;

 private:
  controls::HandlerSubclass receiver_{*this};
  controls::ScopedSubclass subclass_;  // declared last: removed first
};

}  // namespace veltrin::window
