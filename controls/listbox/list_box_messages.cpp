// ListBoxW's message handling: the native list's keys, mouse, scrolling and painting, and the
// notifications and owner-draw requests its container reflects; the events raised from them.
#include "controls/listbox/list_box_w.h"

#include <commctrl.h>
#include <windowsx.h>

#include "controls/base/container_validation.h"
#include "controls/base/input_state.h"
#include "controls/base/mouse_pointers.h"
#include "controls/base/window_input.h"

namespace veltrin::controls {
namespace {

constexpr int kNavigationKeys[] = {VK_UP,   VK_DOWN,  VK_LEFT, VK_RIGHT,
                                   VK_NEXT, VK_PRIOR, VK_HOME, VK_END};

bool IsNavigationKey(WPARAM key) noexcept {
  for (const int navigation : kNavigationKeys) {
    if (static_cast<WPARAM>(navigation) == key) return true;
  }
  return false;
}

int16_t SignedCharCode(WPARAM code) noexcept {
  const auto unsigned_code = static_cast<uint16_t>(code & 0xFFFF);
  return static_cast<int16_t>(unsigned_code);
}

}  // namespace

MessageResult ListBoxW::OnCommand(WORD, WORD code, HWND control) {
  if (!Child() || control != ListHandle()) return kNotHandled;
  switch (code) {
    case LBN_SELCHANGE:
      if (!DetectScroll() && insert_mark_index_ >= 0) InvalidateInsertMarkBand();
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

MessageResult ListBoxW::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  if (!Child() || MessageWindow() != ListHandle()) return kNotHandled;
  switch (message) {
    case WM_SETCURSOR:
      if (SetPointerCursor(LOWORD(l_param))) return TRUE;
      return kNotHandled;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(w_param) == ListHandle()) RaiseContextMenu(l_param);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return ListKeyMessage(message, w_param, l_param);
    case WM_CHAR:
      return ListCharMessage(w_param, l_param);
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (MessageResult result = ListThumbTrack(message, w_param, l_param)) return result;
      break;
    case WM_LBUTTONDOWN:
      return ListLeftButtonDown(w_param, l_param);
    case WM_MOUSEACTIVATE:
      if (Child().HasFocus()) break;
      return MouseActivateAfterValidation(*this, l_param);
    default:
      break;
  }
  const LRESULT result = CallNext();
  AfterListMessage(message, w_param, l_param);
  return result;
}

void ListBoxW::AfterListMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_PAINT:
      if (insert_mark_index_ >= 0) DrawInsertMark();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case LB_SETTOPINDEX:
      if (!DetectScroll() && insert_mark_index_ >= 0) InvalidateInsertMarkBand();
      break;
    case WM_MOUSEMOVE:
      if (w_param & MK_LBUTTON) {
        if (!DetectScroll() && insert_mark_index_ >= 0) InvalidateInsertMarkBand();
      }
      if (MouseEntered()) events_.Raise(&ListBoxWEvents::MouseEnter);
      RaiseMouseEvent(&ListBoxWEvents::MouseMove,
                      static_cast<int16_t>(ButtonStateFromMouseFlags(w_param)), w_param, l_param);
      break;
    case WM_RBUTTONDOWN:
      RaiseMouseEvent(&ListBoxWEvents::MouseDown, kRightButton, w_param, l_param);
      break;
    case WM_MBUTTONDOWN:
      RaiseMouseEvent(&ListBoxWEvents::MouseDown, kMiddleButton, w_param, l_param);
      break;
    case WM_LBUTTONUP:
      RaiseMouseEvent(&ListBoxWEvents::MouseUp, kLeftButton, w_param, l_param);
      break;
    case WM_RBUTTONUP:
      RaiseMouseEvent(&ListBoxWEvents::MouseUp, kRightButton, w_param, l_param);
      break;
    case WM_MBUTTONUP:
      RaiseMouseEvent(&ListBoxWEvents::MouseUp, kMiddleButton, w_param, l_param);
      break;
    case WM_MOUSELEAVE:
      if (MouseLeft()) events_.Raise(&ListBoxWEvents::MouseLeave);
      break;
    default:
      break;
  }
}

LRESULT ListBoxW::ListKeyMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  auto key_code = static_cast<int16_t>(LOWORD(w_param));
  const auto shift = static_cast<int16_t>(ShiftStateNow());
  events_.Raise(down ? &ListBoxWEvents::KeyDown : &ListBoxWEvents::KeyUp, key_code, shift);
  if (message == WM_KEYDOWN && key_code == VK_SPACE && style_ != kStyleStandard) ToggleItem(-1);
  if (message == WM_KEYDOWN || message == WM_KEYUP) {
    MSG waiting{};
    pending_char_ =
        PeekMessageW(&waiting, ListHandle(), WM_CHAR, WM_CHAR, PM_NOREMOVE) ? waiting.wParam : 0;
  }
  return DefaultWindowProc(ListHandle(), message,
                           static_cast<WPARAM>(static_cast<uint16_t>(key_code)), l_param);
}

LRESULT ListBoxW::ListCharMessage(WPARAM w_param, LPARAM l_param) {
  int16_t key_char = SignedCharCode(pending_char_ != 0 ? pending_char_ : w_param);
  pending_char_ = 0;
  events_.Raise(&ListBoxWEvents::KeyPress, key_char);
  return DefaultWindowProc(ListHandle(), WM_CHAR, static_cast<uint16_t>(key_char), l_param);
}

MessageResult ListBoxW::ListThumbTrack(UINT message, WPARAM w_param, LPARAM l_param) {
  const bool vertical = message == WM_VSCROLL;
  if (!vertical && !multi_column_) return kNotHandled;
  const int code = LOWORD(w_param);
  if ((code != SB_THUMBTRACK && code != SB_THUMBPOSITION) || l_param != 0) return kNotHandled;
  if (!(Child().Style() & (vertical ? WS_VSCROLL : WS_HSCROLL))) return kNotHandled;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(ListHandle(), vertical ? SB_VERT : SB_HORZ, &info);
  int position = info.nPos;
  if (code == SB_THUMBPOSITION || scroll_track_) position = info.nTrackPos;
  if (position != info.nPos) {
    if (!vertical) position *= ItemsPerColumn();
    Send(LB_SETTOPINDEX, static_cast<WPARAM>(position));
  }
  return 0;
}

bool ListBoxW::PressToggles(int32_t item, int x) const noexcept {
  if (item == static_cast<int32_t>(Send(LB_GETCURSEL))) return true;
  RECT rect{};
  Send(LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
  const bool rtl = EffectiveRightToLeft();
  return rtl ? x >= rect.right - min_check_item_height_ : x < rect.left + min_check_item_height_;
}

LRESULT ListBoxW::ListLeftButtonDown(WPARAM w_param, LPARAM l_param) {
  POINT screen{GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)};
  ClientToScreen(ListHandle(), &screen);
  const int item = LBItemFromPt(ListHandle(), screen, FALSE);
  if (ole_drag_mode_ == kOleDragAutomatic && item >= 0 &&
      Send(LB_GETSEL, static_cast<WPARAM>(item)) > 0) {
    if (DragDetect(ListHandle(), screen)) {
      drag_start_item_ = item + 1;
      OLEDrag();
      drag_start_item_ = 0;
      return 0;
    }
    const bool toggles = style_ != kStyleStandard && PressToggles(item, GET_X_LPARAM(l_param));
    const LRESULT result = CallNext();
    if (toggles) ToggleItem(item);
    RaiseMouseEvent(&ListBoxWEvents::MouseDown, kLeftButton, w_param, l_param);
    ReleaseCapture();
    return result;
  }
  if (style_ != kStyleStandard && item >= 0) {
    const bool toggles = PressToggles(item, GET_X_LPARAM(l_param));
    const LRESULT result = CallNext();
    RaiseMouseEvent(&ListBoxWEvents::MouseDown, kLeftButton, w_param, l_param);
    if (toggles) ToggleItem(item);
    return result;
  }
  const LRESULT result = CallNext();
  RaiseMouseEvent(&ListBoxWEvents::MouseDown, kLeftButton, w_param, l_param);
  return result;
}

void ListBoxW::RaiseMouseEvent(void (ListBoxWEvents::*event)(int16_t, int16_t, float, float),
                               int16_t button, WPARAM w_param, LPARAM l_param) {
  if (!events_.Handler()) return;
  const auto x =
      static_cast<float>(ScaleX(GET_X_LPARAM(l_param), ScaleUnit::kPixels, ScaleUnit::kTwips));
  const auto y =
      static_cast<float>(ScaleY(GET_Y_LPARAM(l_param), ScaleUnit::kPixels, ScaleUnit::kTwips));
  events_.Raise(event, button, static_cast<int16_t>(ShiftStateFromMouseFlags(w_param)), x, y);
}

void ListBoxW::RaiseContextMenu(LPARAM l_param) {
  const ContainerPoint point =
      ContextMenuPoint(POINT{GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)});
  events_.Raise(&ListBoxWEvents::ContextMenu, point.x, point.y);
}

void ListBoxW::ToggleItem(int32_t item) {
  if (item == -1) item = static_cast<int32_t>(Send(LB_GETCURSEL));
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
  const auto top = static_cast<int32_t>(Send(LB_GETTOPINDEX));
  if (top == last_top_index_) return false;
  last_top_index_ = top;
  if (insert_mark_index_ >= 0) InvalidateInsertMarkBand();
  events_.Raise(&ListBoxWEvents::Scroll);
  return true;
}

HRESULT STDMETHODCALLTYPE ListBoxW::TranslateAccelerator(bool& handled, HRESULT& ret_val,
                                                         UINT message, WPARAM w_param,
                                                         LPARAM l_param, int32_t) {
  if (!Child() || (message != WM_KEYDOWN && message != WM_KEYUP)) return S_OK;
  try {
    const auto key_code = static_cast<int16_t>(w_param & 0xFF);
    bool is_input_key = false;
    events_.Raise(
        message == WM_KEYDOWN ? &ListBoxWEvents::PreviewKeyDown : &ListBoxWEvents::PreviewKeyUp,
        key_code, is_input_key);
    const bool input_key = w_param == VK_TAB || w_param == VK_RETURN || w_param == VK_ESCAPE;
    if (IsNavigationKey(w_param) || (input_key && is_input_key)) {
      Send(message, w_param, l_param);
      handled = true;
      ret_val = S_OK;
    }
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace veltrin::controls
