// The events of the Unicode text box, raised synchronously to the form's handler; reference
// parameters are in/out and read back after the handler returns.
#pragma once

#include <cstdint>

namespace veltrin::controls {

class DataObject;

// Mouse coordinates are twips (ContextMenu: container units, -1/-1 from the keyboard); Shift is
// 1 Shift, 2 Ctrl, 4 Alt; Button 1 left, 2 right, 4 middle.
struct TextBoxEvents {
  virtual ~TextBoxEvents() = default;
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void Change() {}
  virtual void MaxText() {}
  virtual void Scroll() {}
  virtual void ContextMenu(bool& /*handled*/, float /*x*/, float /*y*/) {}
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
  virtual void OLECompleteDrag(int32_t /*effect*/) {}
  virtual void OLEDragDrop(DataObject& /*data*/, int32_t& /*effect*/, int16_t /*button*/,
                           int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void OLEDragOver(DataObject& /*data*/, int32_t& /*effect*/, int16_t /*button*/,
                           int16_t /*shift*/, float /*x*/, float /*y*/, int16_t /*state*/) {}
  virtual void OLEGiveFeedback(int32_t /*effect*/, bool& /*default_cursors*/) {}
  virtual void OLESetData(DataObject& /*data*/, int16_t /*data_format*/) {}
  virtual void OLEStartDrag(DataObject& /*data*/, int32_t& /*allowed_effects*/) {}
};

}  // namespace veltrin::controls
