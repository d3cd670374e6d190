// ListBoxW's design-time properties in the form's property bag: the keys and defaults, the values
// written, and the values read back (an out-of-range stored value falls back to its default).
#include "controls/listbox/list_box_w.h"

#include "controls/base/stored_values.h"

namespace veltrin::controls {
namespace {

constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;
constexpr OLE_COLOR kDefaultForeColor = 0x80000012;

}  // namespace

void ListBoxW::ReadControlProperties(PropertyBag& bag) {
  design_mode_ = !Ambient().UserMode();
  SetFont(bag.ReadProperty(L"Font").ToFont());
  ReadSharedProperties(bag, kDefaultBackColor, kDefaultForeColor);
  redraw_ = ReadBoolean(bag, L"Redraw", true);
  ReadBorderStyle(bag);
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
  WriteSharedProperties(bag, kDefaultBackColor, kDefaultForeColor);
  bag.WriteProperty(L"Redraw", PropertyValue(redraw_), PropertyValue(true));
  WriteBorderStyle(bag);
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
