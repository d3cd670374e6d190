// ListBoxW's plain properties of its own: the horizontal extent, the insertion mark colour and
// scroll tracking (the shared ones are NativeControl's).
#include "controls/listbox/list_box_w.h"

#include "common/run_time_error.h"

namespace veltrin::controls {

float ListBoxW::HorizontalExtent() const {
  if (!Child() || multi_column_) return ToContainerX(horizontal_extent_);
  return ToContainerX(Items().HorizontalExtent());
}

void ListBoxW::SetHorizontalExtent(float value) {
  if (value < 0) return RefuseSetting(RunTimeError(kInvalidPropertyValue));
  horizontal_extent_ = FromContainerX(value);
  if (Child() && !multi_column_) {
    Items().SetHorizontalExtent(horizontal_extent_);
  }
  PropertyChanged(L"HorizontalExtent");
}

void ListBoxW::SetInsertMarkColor(OLE_COLOR value) {
  insert_mark_color_ = value;
  if (insert_mark_index_ >= 0) InvalidateInsertMarkBand();
  PropertyChanged(L"InsertMarkColor");
}

void ListBoxW::SetScrollTrack(bool value) {
  scroll_track_ = value;
  PropertyChanged(L"ScrollTrack");
}

}  // namespace veltrin::controls
