// ListBoxW's message handling: the native list's keys, mouse, scrolling and painting, and the
// notifications and owner-draw requests its container reflects; the events raised from them.
#include "controls/listbox/list_box_w.h"

#include <commctrl.h>

#include "controls/base/input_state.h"

namespace veltrin::controls {

MessageResult ListBoxW::OnCommand(WORD, WORD code, HWND control) {
  if (!Child() || control != ListHandle()) return kNotHandled;
  switch (code) {
    case LBN_SELCHANGE:
      AfterListScroll();
      RaiseClick();
      break;
    case LBN_SELCANCEL:
      if (insert_mark_index_ >= 0) InvalidateInsertMarkBand();
      RaiseClick();
      break;
    case LBN_DBLCLK:
      events_.Raise(&ListBoxWEvents::DblClick);
      break;
    default:
      break;
  }
  return kNotHandled;
}

// The list keeps the system window colours; BackColor and ForeColor colour only the check-box
// and option items.
MessageResult ListBoxW::OnCtlColor(CtlColorKind kind, HDC dc, HWND control) {
  if (kind != CtlColorKind::kListBox || !Child() || control != ListHandle()) return kNotHandled;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

MessageResult ListBoxW::OnDrawItem(int, DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_LISTBOX || !Child() || item.hwndItem != ListHandle() ||
      static_cast<int>(item.itemID) < 0) {
    return kNotHandled;
  }
  if (style_ == kStyleCheckBox || style_ == kStyleOption) {
    try {
      DrawCheckItem(item);
    } catch (...) {
      // An item that cannot be read (gone, or no memory for its text) is left undrawn.
    }
  } else {
    events_.Raise(&ListBoxWEvents::ItemDraw, static_cast<int32_t>(item.itemID),
                  static_cast<int32_t>(item.itemAction), static_cast<int32_t>(item.itemState),
                  item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right,
                  item.rcItem.bottom);
  }
  return TRUE;
}

MessageResult ListBoxW::OnMeasureItem(int, MEASUREITEMSTRUCT& item) {
  if (draw_mode_ != 2 || item.CtlType != ODT_LISTBOX || static_cast<int>(item.itemID) < 0) {
    return kNotHandled;
  }
  int32_t height = static_cast<int32_t>(item.itemHeight);
  events_.Raise(&ListBoxWEvents::ItemMeasure, static_cast<int32_t>(item.itemID), height);
  item.itemHeight = static_cast<UINT>(height);
  return TRUE;
}

MessageResult ListBoxW::OnListSetTopIndex(int) {
  if (!InListMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  AfterListScroll();
  return result;
}

MessageResult ListBoxW::OnContextMenu(HWND window, POINT screen) {
  if (InListMessage() && window == ListHandle()) RaiseContextMenu(screen);
  return kNotHandled;
}

void ListBoxW::AfterKeyDown(int16_t key_code) {
  if (key_code == VK_SPACE && style_ != kStyleStandard) ToggleItem(-1);
}

MessageResult ListBoxW::OnVScroll(int code, int, HWND bar) {
  return ListScroll(true, code, bar);
}

MessageResult ListBoxW::OnHScroll(int code, int, HWND bar) {
  return ListScroll(false, code, bar);
}

MessageResult ListBoxW::ListScroll(bool vertical, int code, HWND bar) {
  if (!InListMessage()) return kNotHandled;
  if (ThumbTrack(vertical, code, bar)) return 0;
  const LRESULT result = CallNext();
  AfterListScroll();
  return result;
}

MessageResult ListBoxW::OnMouseWheel(int, UINT, POINT) {
  if (!InListMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  AfterListScroll();
  return result;
}

void ListBoxW::AfterListScroll() {
  if (!DetectScroll() && insert_mark_index_ >= 0) InvalidateInsertMarkBand();
}

MessageResult ListBoxW::OnPaint() {
  if (!InListMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  if (insert_mark_index_ >= 0) DrawInsertMark();
  return result;
}

void ListBoxW::AfterMouseMove(UINT keys) {
  if (keys & MK_LBUTTON) AfterListScroll();
}

bool ListBoxW::ThumbTrack(bool vertical, int code, HWND bar) {
  if (!vertical && !multi_column_) return false;
  if ((code != SB_THUMBTRACK && code != SB_THUMBPOSITION) || bar != nullptr) return false;
  if (!(Child().Style() & (vertical ? WS_VSCROLL : WS_HSCROLL))) return false;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(ListHandle(), vertical ? SB_VERT : SB_HORZ, &info);
  int position = info.nPos;
  if (code == SB_THUMBPOSITION || scroll_track_) position = info.nTrackPos;
  if (position != info.nPos) {
    if (!vertical) position *= ItemsPerColumn();
    Items().SetTopIndex(position);
  }
  return true;
}

bool ListBoxW::PressToggles(int32_t item, int x) const noexcept {
  if (item == Items().CurSel()) return true;
  const RECT rect = Items().ItemRect(item).value_or(RECT{});
  const bool rtl = EffectiveRightToLeft();
  return rtl ? x >= rect.right - min_check_item_height_ : x < rect.left + min_check_item_height_;
}

MessageResult ListBoxW::LeftButtonDown(UINT keys, POINT point) {
  POINT screen = point;
  ClientToScreen(ListHandle(), &screen);
  const int item = LBItemFromPt(ListHandle(), screen, FALSE);
  if (OLEDragMode() == kOleDragAutomatic && item >= 0 && Items().IsSelected(item)) {
    if (DragDetect(ListHandle(), screen)) {
      drag_start_item_ = item + 1;
      OLEDrag();
      drag_start_item_ = 0;
      return 0;
    }
    const bool toggles = style_ != kStyleStandard && PressToggles(item, point.x);
    const LRESULT result = CallNext();
    if (toggles) ToggleItem(item);
    RaiseMouse(&InputEvents::MouseDown, kLeftButton, keys, point);
    ReleaseCapture();
    return result;
  }
  if (style_ != kStyleStandard && item >= 0) {
    const bool toggles = PressToggles(item, point.x);
    const LRESULT result = CallNext();
    RaiseMouse(&InputEvents::MouseDown, kLeftButton, keys, point);
    if (toggles) ToggleItem(item);
    return result;
  }
  const LRESULT result = CallNext();
  RaiseMouse(&InputEvents::MouseDown, kLeftButton, keys, point);
  return result;
}

void ListBoxW::RaiseContextMenu(POINT screen) {
  const ContainerPoint point = ContextMenuPoint(screen);
  events_.Raise(&ListBoxWEvents::ContextMenu, point.x, point.y);
}

void ListBoxW::ToggleItem(int32_t item) {
  if (item == -1) item = Items().CurSel();
  if (item < 0 || !checks_.Contains(item)) return;
  if (style_ != 1 && style_ != 2) return;
  if (style_ == kStyleOption && item == checks_.Option()) return;
  bool cancel = false;
  events_.Raise(&ListBoxWEvents::ItemBeforeCheck, item, cancel);
  if (cancel) return;
  if (style_ == kStyleCheckBox) {
    checks_.SetChecked(item, !checks_.Checked(item));
  } else {
    InvalidateItem(checks_.Option());
    checks_.SetOption(item);
  }
  InvalidateItem(item);
  events_.Raise(&ListBoxWEvents::ItemCheck, item);
}

bool ListBoxW::DetectScroll() {
  const int32_t top = Items().TopIndex();
  if (top == last_top_index_) return false;
  last_top_index_ = top;
  if (insert_mark_index_ >= 0) InvalidateInsertMarkBand();
  events_.Raise(&ListBoxWEvents::Scroll);
  return true;
}

}  // namespace veltrin::controls
