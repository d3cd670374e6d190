// ListBoxW's plain properties: visual styles, drag and drop modes, the mouse pointer, right to left
// reading, the horizontal extent, the insertion mark colour and scroll tracking.
#include "controls/listbox/list_box_w.h"

#include <uxtheme.h>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/base/window_styles.h"

namespace veltrin::controls {
namespace {

constexpr DWORD kRightToLeftBits = WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;

}  // namespace

void ListBoxW::SetVisualStyles(bool value) {
  visual_styles_ = value;
  ApplyVisualStyles();
  PropertyChanged(L"VisualStyles");
}

void ListBoxW::ApplyVisualStyles() const noexcept {
  if (ThemeChild(visual_styles_)) Refresh();
}

void ListBoxW::SetOLEDragMode(int32_t value) {
  if (value < 0 || value > 1) throw RunTimeError(kInvalidPropertyValue);
  ole_drag_mode_ = value;
  PropertyChanged(L"OLEDragMode");
}

void ListBoxW::SetOLEDragDropScroll(bool value) {
  ole_drag_drop_scroll_ = value;
  PropertyChanged(L"OLEDragDropScroll");
}

void ListBoxW::SetOLEDropMode(int32_t value) {
  if (value < 0 || value > 1) throw RunTimeError(kInvalidPropertyValue);
  UserControl::SetOLEDropMode(static_cast<int16_t>(value));
  PropertyChanged(L"OLEDropMode");
}

void ListBoxW::SetRightToLeft(bool value) {
  UserControl::SetRightToLeft(value);
  ApplyRightToLeft();
  PropertyChanged(L"RightToLeft");
}

void ListBoxW::SetRightToLeftMode(int32_t value) {
  if (value < 0 || value > 4) throw RunTimeError(kInvalidPropertyValue);
  right_to_left_mode_ = value;
  ApplyRightToLeft();
  PropertyChanged(L"RightToLeftMode");
}

void ListBoxW::ApplyRightToLeft() {
  if (!Child()) return;
  ApplyRightToLeftStyles(ListHandle(), EffectiveRightToLeft() ? kRightToLeftBits : 0);
}

bool ListBoxW::EffectiveRightToLeft() const {
  return ResolveRightToLeft(RightToLeft(), Ambient().RightToLeft(), right_to_left_mode_);
}

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
