// ListBoxW's drawing: check-box and option items (themed glyphs where visual styles are on, flat
// frame controls otherwise) and the insertion mark over the painted list.
#include "controls/listbox/list_box_w.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <optional>

#include "common/unique_handle.h"
#include "controls/base/colors.h"
#include "controls/base/comctl_version.h"
#include "controls/base/host/window_handles.h"
#include "controls/base/screen_metrics.h"

namespace veltrin::controls {
namespace {

constexpr OLE_COLOR kHighlight = 0x8000000D;
constexpr OLE_COLOR kHighlightText = 0x8000000E;
constexpr OLE_COLOR kGrayText = 0x80000011;

struct ThemeTraits {
  using Handle = HTHEME;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle theme) noexcept { CloseThemeData(theme); }
};
using UniqueTheme = UniqueHandle<ThemeTraits>;

void FillWith(HDC dc, const RECT& rect, OLE_COLOR color) noexcept {
  const UniqueBrush brush(CreateSolidBrush(TranslateColor(color)));
  if (brush) FillRect(dc, &rect, brush.Get());
}

}  // namespace

void ListBoxW::DrawCheckItem(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const auto index = static_cast<int32_t>(item.itemID);
  const int glyph_size = min_check_item_height_;
  const bool rtl = EffectiveRightToLeft();
  const bool selected = (item.itemState & ODS_SELECTED) && allow_selection_;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool checked = checks_.Checked(index);
  const RECT& bounds = item.rcItem;
  RECT glyph =
      rtl ? RECT{bounds.right - glyph_size + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1}
          : RECT{bounds.left + 1, bounds.top + 1, bounds.left + glyph_size - 1, bounds.bottom - 1};
  RECT text_part = bounds;
  if (rtl) {
    text_part.right = bounds.right - glyph_size;
  } else {
    text_part.left = bounds.left + glyph_size;
  }
  FillWith(dc, text_part, selected ? kHighlight : BackColor());
  FillWith(dc, glyph, BackColor());

  bool drawn = false;
  if (VisualStyles() && VisualStylesActive()) {
    const UniqueTheme theme(OpenThemeData(ListHandle(), L"Button"));
    if (theme) {
      const int part = style_ == kStyleCheckBox ? BP_CHECKBOX : BP_RADIOBUTTON;
      const int state = checked ? (disabled ? 8 : 5) : (disabled ? 4 : 1);
      if (IsThemeBackgroundPartiallyTransparent(theme.Get(), part, state)) {
        DrawThemeParentBackground(ListHandle(), dc, &glyph);
      }
      drawn = SUCCEEDED(DrawThemeBackground(theme.Get(), dc, part, state, &glyph, &glyph));
    }
  }
  if (!drawn) {
    UINT state = DFCS_FLAT | (style_ == kStyleOption ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK);
    if (disabled) state |= DFCS_INACTIVE;
    if (checked) state |= DFCS_CHECKED;
    DrawFrameControl(dc, &glyph, DFC_BUTTON, state);
  }

  const std::wstring text = List(index);
  if (!text.empty()) {
    const OLE_COLOR color = disabled ? kGrayText : selected ? kHighlightText : ForeColor();
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old_color = SetTextColor(dc, TranslateColor(color));
    const int offset = ScreenPixelsPerInchX() / 96;
    UINT old_align = 0;
    int x = text_part.left + offset;
    if (rtl) {
      old_align = SetTextAlign(dc, TA_RIGHT | TA_RTLREADING);
      x = text_part.right - offset;
    }
    TextOutW(dc, x, bounds.top, text.c_str(), static_cast<int>(text.size()));
    if (rtl) SetTextAlign(dc, old_align);
    SetTextColor(dc, old_color);
    SetBkMode(dc, old_mode);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text_part);
}

void ListBoxW::DrawInsertMark() const noexcept {
  const std::optional<RECT> item_rect = Items().ItemRect(insert_mark_index_);
  if (!item_rect) return;
  const RECT& item = *item_rect;
  const HDC dc = GetDC(ListHandle());
  if (!dc) return;
  const RECT client = Child().GetClientRect();
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  const UniqueBrush brush(CreateSolidBrush(TranslateColor(insert_mark_color_)));
  if (brush) {
    const HGDIOBJ old = SelectObject(dc, brush.Get());
    const LONG top = insert_mark_after_ ? item.bottom - 1 : item.top - 1;
    PatBlt(dc, item.left, top - 2, 1, 6, PATCOPY);
    PatBlt(dc, item.left + 1, top - 1, 1, 4, PATCOPY);
    PatBlt(dc, item.left + 2, top, item.right - 1 - (item.left + 2), 2, PATCOPY);
    PatBlt(dc, item.right - 2, top - 1, 1, 4, PATCOPY);
    PatBlt(dc, item.right - 1, top - 2, 1, 6, PATCOPY);
    SelectObject(dc, old);
  }
  ReleaseDC(ListHandle(), dc);
}

}  // namespace veltrin::controls
