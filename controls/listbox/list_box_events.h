// The events of ListBoxW, implemented by the form that hosts it; in/out parameters are references
// that the control reads back after the handler returns.
#pragma once

#include <windows.h>

#include <cstdint>

namespace veltrin::controls {

class ListBoxWEvents {
 public:
  virtual ~ListBoxWEvents() = default;

  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(int16_t& /*key_code*/, int16_t /*shift*/) {}
  virtual void KeyPress(int16_t& /*key_char*/) {}
  virtual void KeyUp(int16_t& /*key_code*/, int16_t /*shift*/) {}
  // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
  virtual void MouseDown(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseUp(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Scroll() {}
  // X and Y in the container's position scale, or both -1 when asked for from the keyboard.
  virtual void ContextMenu(float /*x*/, float /*y*/) {}
  virtual void ItemBeforeCheck(int32_t /*item*/, bool& /*cancel*/) {}
  virtual void ItemCheck(int32_t /*item*/) {}
  virtual void ItemMeasure(int32_t /*item*/, int32_t& /*item_height*/) {}
  virtual void ItemDraw(int32_t /*item*/, int32_t /*item_action*/, int32_t /*item_state*/,
                        HDC /*dc*/, int32_t /*left*/, int32_t /*top*/, int32_t /*right*/,
                        int32_t /*bottom*/) {}
  virtual void PreviewKeyDown(int16_t /*key_code*/, bool& /*is_input_key*/) {}
  virtual void PreviewKeyUp(int16_t /*key_code*/, bool& /*is_input_key*/) {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
};

}  // namespace veltrin::controls
