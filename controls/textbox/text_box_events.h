// The events of the Unicode text box, raised synchronously to the form's handler; reference
// parameters are in/out and read back after the handler returns.
#pragma once

#include <cstdint>

#include "controls/base/input_events.h"

namespace veltrin::controls {

class DataObject;

// The keys and the mouse as InputEvents says; ContextMenu in container units, -1/-1 from the
// keyboard; OLE drag positions in twips, Button and Shift as for the mouse.
struct TextBoxEvents : InputEvents {
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void Change() {}
  virtual void MaxText() {}
  virtual void Scroll() {}
  virtual void ContextMenu(bool& /*handled*/, float /*x*/, float /*y*/) {}
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
