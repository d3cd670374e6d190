// The keyboard and mouse events every native control raises the same way, from the same messages
// of its child window; each control's own event interface adds the rest.
#pragma once

#include <cstdint>

namespace veltrin::controls {

// Key codes are virtual-key codes, in/out: the child sees the code the handler leaves; KeyPress
// carries a UTF-16 unit as a signed 16-bit number. Shift is 1 Shift, 2 Ctrl, 4 Alt; Button 1
// left, 2 right, 4 middle; mouse X and Y in twips.
struct InputEvents {
  virtual ~InputEvents() = default;
  virtual void PreviewKeyDown(int16_t /*key_code*/, bool& /*is_input_key*/) {}
  virtual void PreviewKeyUp(int16_t /*key_code*/, bool& /*is_input_key*/) {}
  virtual void KeyDown(int16_t& /*key_code*/, int16_t /*shift*/) {}
  virtual void KeyUp(int16_t& /*key_code*/, int16_t /*shift*/) {}
  virtual void KeyPress(int16_t& /*key_char*/) {}
  virtual void MouseDown(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseUp(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
};

}  // namespace veltrin::controls
