// ListBoxW's design-time properties in the form's property bag: the keys and defaults, the values
// written, and the values read back (an out-of-range stored value falls back to its default).
#include "controls/listbox/list_box_w.h"

namespace veltrin::controls {
namespace {

constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;
constexpr OLE_COLOR kDefaultForeColor = 0x80000012;

bool ReadBoolean(const PropertyBag& bag, const wchar_t* key, bool default_value) {
  return bag.ReadProperty(key, PropertyValue(default_value)).ToBoolean();
}

// A stored number within low..high, or the default for anything else.
int32_t ReadLong(const PropertyBag& bag, const wchar_t* key, int32_t default_value, int32_t low,
                 int32_t high) {
  const int32_t value = bag.ReadProperty(key, PropertyValue(default_value)).ToLong();
  return value < low || value > high ? default_value : value;
}

OLE_COLOR ReadColor(const PropertyBag& bag, const wchar_t* key, OLE_COLOR default_value) {
  return static_cast<OLE_COLOR>(
      bag.ReadProperty(key, PropertyValue(static_cast<int32_t>(default_value))).ToLong());
}

void WriteColor(PropertyBag& bag, const wchar_t* key, OLE_COLOR value, OLE_COLOR default_value) {
  bag.WriteProperty(key, PropertyValue(static_cast<int32_t>(value)),
                    PropertyValue(static_cast<int32_t>(default_value)));
}

}  // namespace

void ListBoxW::ReadControlProperties(PropertyBag& bag) {
  design_mode_ = !Ambient().UserMode();
  SetFont(bag.ReadProperty(L"Font").ToFont());
  visual_styles_ = ReadBoolean(bag, L"VisualStyles", true);
  UserControl::SetBackColor(ReadColor(bag, L"BackColor", kDefaultBackColor));
  UserControl::SetForeColor(ReadColor(bag, L"ForeColor", kDefaultForeColor));
  UserControl::SetEnabled(ReadBoolean(bag, L"Enabled", true));
  ole_drag_mode_ = ReadLong(bag, L"OLEDragMode", 0, 0, 1);
  ole_drag_drop_scroll_ = ReadBoolean(bag, L"OLEDragDropScroll", true);
  UserControl::SetOLEDropMode(static_cast<int16_t>(ReadLong(bag, L"OLEDropMode", 0, 0, 1)));
  ReadMouseProperties(bag);
  UserControl::SetRightToLeft(ReadBoolean(bag, L"RightToLeft", false));
  right_to_left_mode_ = ReadLong(bag, L"RightToLeftMode", 1, 0, 4);
  redraw_ = ReadBoolean(bag, L"Redraw", true);
  border_style_ = ReadLong(bag, L"BorderStyle", 3, 0, 4);
  multi_column_ = ReadBoolean(bag, L"MultiColumn", false);
  sorted_ = ReadBoolean(bag, L"Sorted", false);
  integral_height_ = ReadBoolean(bag, L"IntegralHeight", true);
  allow_selection_ = ReadBoolean(bag, L"AllowSelection", true);
  multi_select_ = ReadLong(bag, L"MultiSelect", 0, 0, 2);
  horizontal_extent_ = ReadLong(bag, L"HorizontalExtent", 0, 0, INT32_MAX);
  use_tab_stops_ = ReadBoolean(bag, L"UseTabStops", true);
  style_ = ReadLong(bag, L"Style", 0, 0, 2);
  disable_no_scroll_ = ReadBoolean(bag, L"DisableNoScroll", false);
  draw_mode_ = ReadLong(bag, L"DrawMode", 0, 0, 2);
  insert_mark_color_ = ReadColor(bag, L"InsertMarkColor", 0);
  scroll_track_ = ReadBoolean(bag, L"ScrollTrack", true);
  if (style_ != kStyleStandard) multi_select_ = 0;
  ApplyCreationRules();
}

void ListBoxW::WriteProperties(PropertyBag& bag) {
  const FontRef ambient = Ambient().Font();
  const bool ambient_font = FontsEqual(font_.get(), ambient.get());
  bag.WriteProperty(L"Font", ambient_font ? PropertyValue(FontRef()) : PropertyValue(font_),
                    PropertyValue(FontRef()));
  bag.WriteProperty(L"VisualStyles", PropertyValue(visual_styles_), PropertyValue(true));
  WriteColor(bag, L"BackColor", BackColor(), kDefaultBackColor);
  WriteColor(bag, L"ForeColor", ForeColor(), kDefaultForeColor);
  bag.WriteProperty(L"Enabled", PropertyValue(Enabled()), PropertyValue(true));
  bag.WriteProperty(L"OLEDragMode", PropertyValue(ole_drag_mode_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"OLEDragDropScroll", PropertyValue(ole_drag_drop_scroll_),
                    PropertyValue(true));
  bag.WriteProperty(L"OLEDropMode", PropertyValue(static_cast<int32_t>(OLEDropMode())),
                    PropertyValue(int32_t{0}));
  WriteMouseProperties(bag);
  bag.WriteProperty(L"RightToLeft", PropertyValue(RightToLeft()), PropertyValue(false));
  bag.WriteProperty(L"RightToLeftMode", PropertyValue(right_to_left_mode_),
                    PropertyValue(int32_t{1}));
  bag.WriteProperty(L"Redraw", PropertyValue(redraw_), PropertyValue(true));
  bag.WriteProperty(L"BorderStyle", PropertyValue(border_style_), PropertyValue(int32_t{3}));
  bag.WriteProperty(L"MultiColumn", PropertyValue(multi_column_), PropertyValue(false));
  bag.WriteProperty(L"Sorted", PropertyValue(sorted_), PropertyValue(false));
  bag.WriteProperty(L"IntegralHeight", PropertyValue(integral_height_), PropertyValue(true));
  bag.WriteProperty(L"AllowSelection", PropertyValue(allow_selection_), PropertyValue(true));
  bag.WriteProperty(L"MultiSelect", PropertyValue(multi_select_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"HorizontalExtent", PropertyValue(horizontal_extent_),
                    PropertyValue(int32_t{0}));
  bag.WriteProperty(L"UseTabStops", PropertyValue(use_tab_stops_), PropertyValue(true));
  bag.WriteProperty(L"Style", PropertyValue(style_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"DisableNoScroll", PropertyValue(disable_no_scroll_), PropertyValue(false));
  bag.WriteProperty(L"DrawMode", PropertyValue(draw_mode_), PropertyValue(int32_t{0}));
  WriteColor(bag, L"InsertMarkColor", insert_mark_color_, 0);
  bag.WriteProperty(L"ScrollTrack", PropertyValue(scroll_track_), PropertyValue(true));
}

}  // namespace veltrin::controls
