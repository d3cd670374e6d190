// ListBoxW's geometry: container-unit conversions, item heights, column width, hit testing, the
// insertion mark's position, the ideal horizontal extent and the control's own size.
#include "controls/listbox/list_box_w.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/run_time_error.h"
#include "controls/base/host/extender.h"

namespace veltrin::controls {

float ListBoxW::ToContainerX(double pixels) const {
  return static_cast<float>(ScaleX(pixels, ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

float ListBoxW::ToContainerY(double pixels) const {
  return static_cast<float>(ScaleY(pixels, ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

int32_t ListBoxW::FromContainerX(float value) const {
  return static_cast<int32_t>(
      std::lround(ScaleX(value, ScaleUnit::kContainerSize, ScaleUnit::kPixels)));
}

int32_t ListBoxW::FromContainerY(float value) const {
  return static_cast<int32_t>(
      std::lround(ScaleY(value, ScaleUnit::kContainerSize, ScaleUnit::kPixels)));
}

void ListBoxW::Resize() {
  static bool resizing = false;  // a resize caused by this one is ignored
  if (resizing) return;
  resizing = true;
  try {
    NativeControl::Resize();
    if (Child() && integral_height_ && ContainerForm()) {
      const RECT bounds = Child().GetWindowRect();
      ExtenderObject().SetHeight(ToContainerY(bounds.bottom - bounds.top));
    }
  } catch (...) {
    resizing = false;
    throw;
  }
  resizing = false;
}

float ListBoxW::ItemHeight(int32_t index) const {
  if (!Child()) return 0;
  const int height =
      draw_mode_ == kDrawOwnerVariable || index == 0 ? Items().ItemHeight(index) : LB_ERR;
  if (height == LB_ERR) throw RunTimeError(kInvalidProcedureCall);
  return ToContainerY(height);
}

void ListBoxW::SetItemHeight(int32_t index, float value) {
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Child()) return;
  const bool set = (draw_mode_ == kDrawOwnerVariable || index == 0) &&
                   Items().SetItemHeight(index, FromContainerY(value));
  if (!set) throw RunTimeError(kInvalidProcedureCall);
  if (integral_height_) {
    RECT bounds{0, 0, ClientWidth(), ClientHeight() + 10};
    Child().Move(bounds, false);
    bounds.bottom = ClientHeight();
    Child().Move(bounds, false);
    Resize();
  }
  Refresh();
}

void ListBoxW::SetColumnWidth(float value) {
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  const int32_t pixels = FromContainerX(value);
  if (pixels < 1) throw RunTimeError(kInvalidPropertyValue);
  Items().SetColumnWidth(pixels);
}

int32_t ListBoxW::ItemsPerColumn() const noexcept {
  return Items().ItemsPerColumn();
}

int32_t ListBoxW::HitTest(float x, float y) const {
  return HitTestInsertMark(x, y, nullptr);
}

int32_t ListBoxW::HitTestInsertMark(float x, float y, bool* after) const {
  if (!Child()) return -1;
  POINT point{static_cast<LONG>(ScaleX(x, ScaleUnit::kContainerPosition, ScaleUnit::kPixels)),
              static_cast<LONG>(ScaleY(y, ScaleUnit::kContainerPosition, ScaleUnit::kPixels))};
  const LONG client_y = point.y;
  ClientToScreen(ListHandle(), &point);
  const int item = LBItemFromPt(ListHandle(), point, FALSE);
  if (item >= 0 && after) {
    const RECT rect = Items().ItemRect(item).value_or(RECT{});
    *after = client_y > rect.top + (rect.bottom - rect.top) / 2.0;
  }
  return item;
}

float ListBoxW::GetIdealHorizontalExtent() const {
  const int32_t count = ListCount();
  if (count <= 0) return 0;
  const RECT window = Child().GetWindowRect();
  const RECT client = Child().GetClientRect();
  const int scroll_bar = (Child().Style() & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  LONG widest = 0;
  if (const HDC dc = GetDC(ListHandle())) {
    const HGDIOBJ old = SelectObject(dc, font_handle_.Get());
    for (int32_t i = 0; i < count; ++i) {
      const std::wstring text = List(i);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max<LONG>(widest, size.cx - scroll_bar);
    }
    SelectObject(dc, old);
    ReleaseDC(ListHandle(), dc);
  }
  if (widest <= 0) return 0;
  return ToContainerX((window.right - window.left) - (client.right - client.left) + widest);
}

int32_t ListBoxW::InsertMark(bool* after) const noexcept {
  if (after) *after = insert_mark_after_;
  return insert_mark_index_;
}

void ListBoxW::SetInsertMark(int32_t index, bool after) {
  if (index == insert_mark_index_ && after == insert_mark_after_) return;
  if (index != -1 && Child()) RequireItem(index, kInvalidPropertyArrayIndex);
  if (insert_mark_index_ >= 0) InvalidateInsertMarkBand();
  insert_mark_index_ = index;
  insert_mark_after_ = after;
  if (index >= 0) InvalidateInsertMarkBand();
}

RECT ListBoxW::InsertMarkBand() const noexcept {
  if (insert_mark_index_ < 0) return RECT{};
  const std::optional<RECT> item = Items().ItemRect(insert_mark_index_);
  if (!item) return RECT{};
  const LONG edge = insert_mark_after_ ? item->bottom : item->top;
  return RECT{item->left, edge - 3, item->right, edge + 3};
}

void ListBoxW::InvalidateInsertMarkBand() const noexcept {
  const RECT band = InsertMarkBand();
  if (!IsRectEmpty(&band)) InvalidateRect(ListHandle(), &band, TRUE);
}

}  // namespace veltrin::controls
