// The events of ListBoxW, implemented by the form that hosts it; in/out parameters are references
// that the control reads back after the handler returns.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/base/host/data_object.h"
#include "controls/base/input_events.h"

namespace veltrin::controls {

// The keys and the mouse as InputEvents says.
class ListBoxWEvents : public InputEvents {
 public:
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void Scroll() {}
  // X and Y in the container's position scale, or both -1 when asked for from the keyboard.
  virtual void ContextMenu(float /*x*/, float /*y*/) {}
  virtual void ItemBeforeCheck(int32_t /*item*/, bool& /*cancel*/) {}
  virtual void ItemCheck(int32_t /*item*/) {}
  virtual void ItemMeasure(int32_t /*item*/, int32_t& /*item_height*/) {}
  virtual void ItemDraw(int32_t /*item*/, int32_t /*item_action*/, int32_t /*item_state*/,
                        HDC /*dc*/, int32_t /*left*/, int32_t /*top*/, int32_t /*right*/,
                        int32_t /*bottom*/) {}
  // OLE drag and drop; positions in the container's position scale.
  virtual void OLECompleteDrag(int32_t& /*effect*/) {}
  virtual void OLEDragDrop(DataObject& /*data*/, int32_t& /*effect*/, int16_t& /*button*/,
                           int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
  virtual void OLEDragOver(DataObject& /*data*/, int32_t& /*effect*/, int16_t& /*button*/,
                           int16_t& /*shift*/, float& /*x*/, float& /*y*/, int16_t& /*state*/) {}
  virtual void OLEGiveFeedback(int32_t& /*effect*/, bool& /*default_cursors*/) {}
  virtual void OLESetData(DataObject& /*data*/, int16_t& /*data_format*/) {}
  virtual void OLEStartDrag(DataObject& /*data*/, int32_t& /*allowed_effects*/) {}
};

}  // namespace veltrin::controls
