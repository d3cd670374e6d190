// The message switch: each case unpacks wParam and lParam and calls one typed handler.
#include "controls/base/window/message_handler.h"

#include <windowsx.h>

#include <utility>

#include "controls/base/error_report.h"

namespace veltrin::controls {
namespace {

POINT PointOf(LPARAM l_param) noexcept {
  return POINT{GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)};
}

UINT KeysOf(WPARAM w_param) noexcept {
  return static_cast<UINT>(w_param);
}

HWND WindowOf(LPARAM l_param) noexcept {
  return reinterpret_cast<HWND>(l_param);
}

}  // namespace

LRESULT MessageHandler::HandleMessage(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                      NextProcedure next) noexcept {
  // The object may be gone after the call (a handler let go of it): only the result is used.
  const MessageResult result = TryHandleMessage(window, message, w_param, l_param, next);
  return result ? *result : next(window, message, w_param, l_param);
}

MessageResult MessageHandler::TryHandleMessage(HWND window, UINT message, WPARAM w_param,
                                               LPARAM l_param, NextProcedure next) noexcept {
  // Declared first, so the object outlives everything below even if a handler let go of it.
  const CallScope keep_alive(KeepAliveObject());
  Call call{window, message, w_param, l_param, next, false, 0};
  Call* const outer = std::exchange(call_, &call);
  MessageResult result;
  try {
    result = Dispatch(message, w_param, l_param);
  } catch (...) {
    // Errors never leave a window procedure: the message goes on as if unhandled.
    ReportCaughtError(L"a message handler");
    result = kNotHandled;
  }
  call_ = outer;
  if (!result && call.next_called) result = call.next_result;
  return result;
}

LRESULT MessageHandler::CallNext() noexcept {
  if (!call_ || !call_->next) return 0;
  if (!call_->next_called) {
    call_->next_result = call_->next(call_->window, call_->message, call_->w_param, call_->l_param);
    call_->next_called = true;
  }
  return call_->next_result;
}

LRESULT MessageHandler::CallNextWith(WPARAM w_param, LPARAM l_param) noexcept {
  if (call_ && !call_->next_called) {
    call_->w_param = w_param;
    call_->l_param = l_param;
  }
  return CallNext();
}

MessageResult MessageHandler::Dispatch(UINT message, WPARAM w_param, LPARAM l_param) {
  if (MessageResult raw = OnMessage(message, w_param, l_param)) return raw;
  if (IsCtlColorMessage(message)) {
    return OnCtlColor(static_cast<CtlColorKind>(message - WM_CTLCOLORMSGBOX),
                      reinterpret_cast<HDC>(w_param), WindowOf(l_param));
  }
  const auto flags = static_cast<UINT>(l_param);
  switch (message) {
    case WM_CREATE:
      return OnCreate(*reinterpret_cast<CREATESTRUCTW*>(l_param));
    case WM_INITDIALOG:
      return OnInitDialog(reinterpret_cast<HWND>(w_param), l_param);
    case WM_CLOSE:
      return OnClose();
    case WM_DESTROY:
      return OnDestroy();
    case WM_NCDESTROY:
      return OnNcDestroy();
    case WM_COMMAND:
      return OnCommand(LOWORD(w_param), HIWORD(w_param), WindowOf(l_param));
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(l_param);
      return header ? OnNotify(static_cast<int>(w_param), *header) : kNotHandled;
    }
    case WM_DRAWITEM:
      return OnDrawItem(static_cast<int>(w_param), *reinterpret_cast<DRAWITEMSTRUCT*>(l_param));
    case WM_MEASUREITEM:
      return OnMeasureItem(static_cast<int>(w_param),
                           *reinterpret_cast<MEASUREITEMSTRUCT*>(l_param));
    case WM_COMPAREITEM:
      return OnCompareItem(static_cast<int>(w_param),
                           *reinterpret_cast<const COMPAREITEMSTRUCT*>(l_param));
    case WM_DELETEITEM:
      return OnDeleteItem(static_cast<int>(w_param),
                          *reinterpret_cast<const DELETEITEMSTRUCT*>(l_param));
    case WM_TIMER:
      return OnTimer(static_cast<UINT_PTR>(w_param));
    case WM_CONTEXTMENU:
      return OnContextMenu(reinterpret_cast<HWND>(w_param), PointOf(l_param));
    case WM_KEYDOWN:
      return OnKeyDown(static_cast<UINT>(w_param), flags);
    case WM_KEYUP:
      return OnKeyUp(static_cast<UINT>(w_param), flags);
    case WM_CHAR:
      return OnChar(static_cast<wchar_t>(w_param), flags);
    case WM_SYSKEYDOWN:
      return OnSysKeyDown(static_cast<UINT>(w_param), flags);
    case WM_SYSKEYUP:
      return OnSysKeyUp(static_cast<UINT>(w_param), flags);
    case WM_SYSCHAR:
      return OnSysChar(static_cast<wchar_t>(w_param), flags);
    case WM_UNICHAR:
      return OnUniChar(static_cast<UINT>(w_param), flags);
    case WM_IME_CHAR:
      return OnImeChar(static_cast<wchar_t>(w_param & 0xFFFF), flags);
    case WM_SETFOCUS:
      return OnSetFocus(reinterpret_cast<HWND>(w_param));
    case WM_KILLFOCUS:
      return OnKillFocus(reinterpret_cast<HWND>(w_param));
    case WM_GETDLGCODE:
      return OnGetDlgCode(static_cast<UINT>(w_param), reinterpret_cast<MSG*>(l_param));
    case WM_ACTIVATE:
      return OnActivate(LOWORD(w_param), HIWORD(w_param) != 0, WindowOf(l_param));
    case WM_SETCURSOR:
      return OnSetCursor(reinterpret_cast<HWND>(w_param), LOWORD(l_param), HIWORD(l_param));
    case WM_HSCROLL:
      return OnHScroll(LOWORD(w_param), static_cast<short>(HIWORD(w_param)), WindowOf(l_param));
    case WM_VSCROLL:
      return OnVScroll(LOWORD(w_param), static_cast<short>(HIWORD(w_param)), WindowOf(l_param));
    case WM_SIZE:
      return OnSize(static_cast<UINT>(w_param), LOWORD(l_param), HIWORD(l_param));
    case WM_MOVE:
      return OnMove(PointOf(l_param));
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return OnEraseBkgnd(reinterpret_cast<HDC>(w_param));
    default:
      return DispatchMouse(message, w_param, l_param);
  }
}

MessageResult MessageHandler::DispatchMouse(UINT message, WPARAM w_param, LPARAM l_param) {
  const UINT keys = KeysOf(w_param);
  const POINT point = PointOf(l_param);
  switch (message) {
    case WM_MOUSEMOVE:
      return OnMouseMove(keys, point);
    case WM_LBUTTONDOWN:
      return OnMouseButton(MouseButton::kLeft, MouseButtonAction::kDown, keys, point);
    case WM_LBUTTONUP:
      return OnMouseButton(MouseButton::kLeft, MouseButtonAction::kUp, keys, point);
    case WM_LBUTTONDBLCLK:
      return OnMouseButton(MouseButton::kLeft, MouseButtonAction::kDoubleClick, keys, point);
    case WM_RBUTTONDOWN:
      return OnMouseButton(MouseButton::kRight, MouseButtonAction::kDown, keys, point);
    case WM_RBUTTONUP:
      return OnMouseButton(MouseButton::kRight, MouseButtonAction::kUp, keys, point);
    case WM_RBUTTONDBLCLK:
      return OnMouseButton(MouseButton::kRight, MouseButtonAction::kDoubleClick, keys, point);
    case WM_MBUTTONDOWN:
      return OnMouseButton(MouseButton::kMiddle, MouseButtonAction::kDown, keys, point);
    case WM_MBUTTONUP:
      return OnMouseButton(MouseButton::kMiddle, MouseButtonAction::kUp, keys, point);
    case WM_MBUTTONDBLCLK:
      return OnMouseButton(MouseButton::kMiddle, MouseButtonAction::kDoubleClick, keys, point);
    case WM_MOUSEACTIVATE:
      return OnMouseActivate(reinterpret_cast<HWND>(w_param), LOWORD(l_param), HIWORD(l_param));
    case WM_MOUSEWHEEL:
      return OnMouseWheel(GET_WHEEL_DELTA_WPARAM(w_param), GET_KEYSTATE_WPARAM(w_param), point);
    case WM_MOUSELEAVE:
      return OnMouseLeave();
    case LB_SETTOPINDEX:
      return OnListSetTopIndex(static_cast<int>(w_param));
    default:
      return kNotHandled;
  }
}

MessageResult MessageHandler::OnMouseButton(MouseButton button, MouseButtonAction action, UINT keys,
                                            POINT point) {
  switch (button) {
    case MouseButton::kLeft:
      if (action == MouseButtonAction::kDown) return OnLButtonDown(keys, point);
      if (action == MouseButtonAction::kUp) return OnLButtonUp(keys, point);
      return OnLButtonDblClk(keys, point);
    case MouseButton::kRight:
      if (action == MouseButtonAction::kDown) return OnRButtonDown(keys, point);
      if (action == MouseButtonAction::kUp) return OnRButtonUp(keys, point);
      return OnRButtonDblClk(keys, point);
    case MouseButton::kMiddle:
      if (action == MouseButtonAction::kDown) return OnMButtonDown(keys, point);
      if (action == MouseButtonAction::kUp) return OnMButtonUp(keys, point);
      return OnMButtonDblClk(keys, point);
  }
  return kNotHandled;
}

}  // namespace veltrin::controls
