// The properties every native control has, the same way: colours, border, right-to-left reading,
// visual styles and the OLE drag and drop modes, with their place in the property bag.
#include "common/run_time_error.h"
#include "controls/base/native_control.h"
#include "controls/base/stored_values.h"
#include "controls/base/window_styles.h"

namespace veltrin::controls {
namespace {

void RequireRange(int32_t value, int32_t low, int32_t high) {
  if (value < low || value > high) throw RunTimeError(kInvalidPropertyValue);
}

}  // namespace

void NativeControl::SetBackColor(OLE_COLOR color) {
  UserControl::SetBackColor(color);
  PropertyChanged(L"BackColor");
  Refresh();
}

void NativeControl::SetForeColor(OLE_COLOR color) {
  UserControl::SetForeColor(color);
  PropertyChanged(L"ForeColor");
  Refresh();
}

void NativeControl::SetBorderStyle(int32_t value) {
  RequireRange(value, kBorderNone, kBorderDialogFrame);
  border_style_ = value;
  if (child_) ChangeBorderStyle(hWnd(), value);
  Resize();
  PropertyChanged(L"BorderStyle");
}

bool NativeControl::EffectiveRightToLeft() const noexcept {
  return ResolveRightToLeft(RightToLeft(), Ambient().RightToLeft(), right_to_left_mode_);
}

void NativeControl::ApplyRightToLeft() const noexcept {
  if (child_) ApplyRightToLeftStyles(hWnd(), EffectiveRightToLeft() ? RightToLeftExStyles() : 0);
}

void NativeControl::SetRightToLeft(bool value) {
  UserControl::SetRightToLeft(value);
  ApplyRightToLeft();
  PropertyChanged(L"RightToLeft");
}

void NativeControl::SetRightToLeftMode(int32_t value) {
  RequireRange(value, 0, 4);
  right_to_left_mode_ = value;
  ApplyRightToLeft();
  PropertyChanged(L"RightToLeftMode");
}

void NativeControl::SetVisualStyles(bool value) {
  visual_styles_ = value;
  ApplyVisualStyles();
  PropertyChanged(L"VisualStyles");
}

void NativeControl::ApplyVisualStyles() const noexcept {
  if (ThemeChild(visual_styles_)) Refresh();
}

void NativeControl::SetOLEDragMode(int32_t value) {
  RequireRange(value, kOleDragManual, kOleDragAutomatic);
  ole_drag_mode_ = value;
  PropertyChanged(L"OLEDragMode");
}

void NativeControl::SetOLEDropMode(int32_t value) {
  RequireRange(value, kOleDropNone, HighestOLEDropMode());
  ole_drop_mode_ = value;
  // The host drops through the control; an automatic drop is the control's own handling of it.
  UserControl::SetOLEDropMode(static_cast<int16_t>(value == kOleDropNone ? 0 : 1));
  PropertyChanged(L"OLEDropMode");
}

void NativeControl::SetOLEDragDropScroll(bool value) {
  ole_drag_drop_scroll_ = value;
  PropertyChanged(L"OLEDragDropScroll");
}

void NativeControl::ReadSharedProperties(PropertyBag& bag, OLE_COLOR back_color,
                                         OLE_COLOR fore_color) {
  visual_styles_ = ReadBoolean(bag, L"VisualStyles", true);
  UserControl::SetBackColor(ReadColor(bag, L"BackColor", back_color));
  UserControl::SetForeColor(ReadColor(bag, L"ForeColor", fore_color));
  UserControl::SetEnabled(ReadBoolean(bag, L"Enabled", true));
  ole_drag_mode_ = ReadLong(bag, L"OLEDragMode", kOleDragManual, kOleDragManual, kOleDragAutomatic);
  ole_drag_drop_scroll_ = ReadBoolean(bag, L"OLEDragDropScroll", true);
  ole_drop_mode_ = ReadLong(bag, L"OLEDropMode", kOleDropNone, kOleDropNone, HighestOLEDropMode());
  UserControl::SetOLEDropMode(static_cast<int16_t>(ole_drop_mode_ == kOleDropNone ? 0 : 1));
  ReadMouseProperties(bag);
  UserControl::SetRightToLeft(ReadBoolean(bag, L"RightToLeft", false));
  right_to_left_mode_ = ReadLong(bag, L"RightToLeftMode", 1, 0, 4);
}

void NativeControl::WriteSharedProperties(PropertyBag& bag, OLE_COLOR back_color,
                                          OLE_COLOR fore_color) const {
  bag.WriteProperty(L"VisualStyles", PropertyValue(visual_styles_), PropertyValue(true));
  WriteColor(bag, L"BackColor", BackColor(), back_color);
  WriteColor(bag, L"ForeColor", ForeColor(), fore_color);
  bag.WriteProperty(L"Enabled", PropertyValue(Enabled()), PropertyValue(true));
  bag.WriteProperty(L"OLEDragMode", PropertyValue(ole_drag_mode_), PropertyValue(kOleDragManual));
  bag.WriteProperty(L"OLEDragDropScroll", PropertyValue(ole_drag_drop_scroll_),
                    PropertyValue(true));
  bag.WriteProperty(L"OLEDropMode", PropertyValue(ole_drop_mode_), PropertyValue(kOleDropNone));
  WriteMouseProperties(bag);
  bag.WriteProperty(L"RightToLeft", PropertyValue(RightToLeft()), PropertyValue(false));
  bag.WriteProperty(L"RightToLeftMode", PropertyValue(right_to_left_mode_),
                    PropertyValue(int32_t{1}));
}

void NativeControl::ReadBorderStyle(PropertyBag& bag) {
  border_style_ = ReadLong(bag, L"BorderStyle", kBorderSunken, kBorderNone, kBorderDialogFrame);
}

void NativeControl::WriteBorderStyle(PropertyBag& bag) const {
  bag.WriteProperty(L"BorderStyle", PropertyValue(border_style_), PropertyValue(kBorderSunken));
}

}  // namespace veltrin::controls
