// The handler base of every window procedure in the library: one switch unpacks each message into
// a typed handler, and whatever a handler leaves alone goes to the next procedure in the chain
// (DefWindowProc, the next subclass, or the dialog manager).
#pragma once

#include <windows.h>

#include <optional>

#include "controls/base/window/call_guard.h"

namespace veltrin::controls {

// A handler's answer: a value is the message result; no value passes the message on.
using MessageResult = std::optional<LRESULT>;
inline constexpr MessageResult kNotHandled = std::nullopt;

// What the next procedure in the chain is for a window.
using NextProcedure = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Says whether `message` is one of the WM_CTLCOLOR* messages (WM_CTLCOLORMSGBOX to
// WM_CTLCOLORSTATIC).
constexpr bool IsCtlColorMessage(UINT message) noexcept {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// Which button a mouse-button message is about, and what it says.
enum class MouseButton { kLeft, kRight, kMiddle };
enum class MouseButtonAction { kDown, kUp, kDoubleClick };

// Which WM_CTLCOLOR* message asked for colours.
enum class CtlColorKind { kMessageBox, kEdit, kListBox, kButton, kDialog, kScrollBar, kStatic };

class MessageHandler : public CallGuarded {
 public:
  // Hands one message to the typed handlers and returns their result, or the next procedure's
  // when no handler took it. Never throws: a handler's exception is swallowed and the message
  // goes on to the next procedure (or answers its result when the handler had already called it).
  // The keep-alive object lives until the call returns (see CallGuarded).
  LRESULT HandleMessage(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                        NextProcedure next) noexcept;
  // As HandleMessage, but says "not handled" instead of calling `next` itself; CallNext inside a
  // handler still reaches `next`.
  MessageResult TryHandleMessage(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                 NextProcedure next) noexcept;
  // The object kept alive while this handler handles a message.
  CallGuarded& KeepAlive() noexcept { return KeepAliveObject(); }

 protected:
  MessageHandler() = default;
  ~MessageHandler() override = default;

  // The window of the message being handled (null outside a message).
  HWND MessageWindow() const noexcept { return call_ ? call_->window : nullptr; }
  // Runs the next procedure for the message being handled now (once; later calls return the first
  // result), for handlers that add to the default behaviour. 0 outside a message.
  LRESULT CallNext() noexcept;
  // As CallNext, but the next procedure gets `w_param` and `l_param` instead of the message's own
  // (for handlers that change what the window sees, such as a replaced key code).
  LRESULT CallNextWith(WPARAM w_param, LPARAM l_param) noexcept;
  // The object kept alive while a message is handled; a handler that belongs to another object
  // names that object.
  virtual CallGuarded& KeepAliveObject() noexcept { return *this; }

  // Sees every message before the switch; a value ends the handling. For messages without a
  // typed handler, and for handlers that want the raw parameters.
  virtual MessageResult OnMessage(UINT /*message*/, WPARAM /*w_param*/, LPARAM /*l_param*/) {
    return kNotHandled;
  }

  // Creation and destruction.
  virtual MessageResult OnCreate(CREATESTRUCTW& /*create*/) { return kNotHandled; }
  virtual MessageResult OnInitDialog(HWND /*focus*/, LPARAM /*init*/) { return kNotHandled; }
  virtual MessageResult OnClose() { return kNotHandled; }
  virtual MessageResult OnDestroy() { return kNotHandled; }
  virtual MessageResult OnNcDestroy() { return kNotHandled; }

  // Commands and notifications; `control` is null for menus and accelerators.
  virtual MessageResult OnCommand(WORD /*id*/, WORD /*code*/, HWND /*control*/) {
    return kNotHandled;
  }
  virtual MessageResult OnNotify(int /*id*/, NMHDR& /*header*/) { return kNotHandled; }
  virtual MessageResult OnCtlColor(CtlColorKind /*kind*/, HDC /*dc*/, HWND /*control*/) {
    return kNotHandled;
  }
  virtual MessageResult OnDrawItem(int /*id*/, DRAWITEMSTRUCT& /*item*/) { return kNotHandled; }
  virtual MessageResult OnMeasureItem(int /*id*/, MEASUREITEMSTRUCT& /*item*/) {
    return kNotHandled;
  }
  virtual MessageResult OnCompareItem(int /*id*/, const COMPAREITEMSTRUCT& /*item*/) {
    return kNotHandled;
  }
  virtual MessageResult OnDeleteItem(int /*id*/, const DELETEITEMSTRUCT& /*item*/) {
    return kNotHandled;
  }
  virtual MessageResult OnTimer(UINT_PTR /*id*/) { return kNotHandled; }
  // `screen` is (-1, -1) when the menu key asked.
  virtual MessageResult OnContextMenu(HWND /*window*/, POINT /*screen*/) { return kNotHandled; }

  // Keyboard and focus; `flags` is the lParam of the key message.
  virtual MessageResult OnKeyDown(UINT /*key*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnKeyUp(UINT /*key*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnChar(wchar_t /*code*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnSysKeyDown(UINT /*key*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnSysKeyUp(UINT /*key*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnSysChar(wchar_t /*code*/, UINT /*flags*/) { return kNotHandled; }
  // A whole code point (WM_UNICHAR; UNICODE_NOCHAR asks whether the window takes them) and an
  // IME's character (WM_IME_CHAR, one UTF-16 unit).
  virtual MessageResult OnUniChar(UINT /*code_point*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnImeChar(wchar_t /*code*/, UINT /*flags*/) { return kNotHandled; }
  virtual MessageResult OnSetFocus(HWND /*previous*/) { return kNotHandled; }
  virtual MessageResult OnKillFocus(HWND /*next*/) { return kNotHandled; }
  virtual MessageResult OnGetDlgCode(UINT /*key*/, MSG* /*message*/) { return kNotHandled; }
  // `state` is WA_ACTIVE, WA_CLICKACTIVE or WA_INACTIVE.
  virtual MessageResult OnActivate(UINT /*state*/, bool /*minimized*/, HWND /*other*/) {
    return kNotHandled;
  }

  // Mouse; `keys` are the MK_* flags, `point` client pixels (screen pixels for the wheel).
  virtual MessageResult OnMouseMove(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnLButtonDown(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnLButtonUp(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnLButtonDblClk(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnRButtonDown(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnRButtonUp(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnRButtonDblClk(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnMButtonDown(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnMButtonUp(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  virtual MessageResult OnMButtonDblClk(UINT /*keys*/, POINT /*point*/) { return kNotHandled; }
  // The nine button messages (left, right, middle; down, up, double click) reach this one handler
  // first; by default it hands each to its own handler above.
  virtual MessageResult OnMouseButton(MouseButton button, MouseButtonAction action, UINT keys,
                                      POINT point);
  // `hit_test` is the HT* code, `mouse_message` the message that activates.
  virtual MessageResult OnMouseActivate(HWND /*top*/, UINT /*hit_test*/, UINT /*mouse_message*/) {
    return kNotHandled;
  }
  virtual MessageResult OnMouseWheel(int /*delta*/, UINT /*keys*/, POINT /*screen*/) {
    return kNotHandled;
  }
  virtual MessageResult OnMouseLeave() { return kNotHandled; }
  virtual MessageResult OnSetCursor(HWND /*window*/, UINT /*hit_test*/, UINT /*mouse_message*/) {
    return kNotHandled;
  }

  // Scrolling: `code` is the SB_* request, `bar` null for the window's own scroll bar.
  virtual MessageResult OnHScroll(int /*code*/, int /*position*/, HWND /*bar*/) {
    return kNotHandled;
  }
  virtual MessageResult OnVScroll(int /*code*/, int /*position*/, HWND /*bar*/) {
    return kNotHandled;
  }

  // Messages of a native list box that its subclass watches.
  virtual MessageResult OnListSetTopIndex(int /*index*/) { return kNotHandled; }

  // Size, position and painting; `kind` of OnSize is the SIZE_* value.
  virtual MessageResult OnSize(UINT /*kind*/, int /*width*/, int /*height*/) { return kNotHandled; }
  virtual MessageResult OnMove(POINT /*client_origin*/) { return kNotHandled; }
  virtual MessageResult OnPaint() { return kNotHandled; }
  virtual MessageResult OnEraseBkgnd(HDC /*dc*/) { return kNotHandled; }

 private:
  // The message being handled, innermost first.
  struct Call {
    HWND window;
    UINT message;
    WPARAM w_param;
    LPARAM l_param;
    NextProcedure next;
    bool next_called;     // CallNext ran
    LRESULT next_result;  // its result
  };

  MessageResult Dispatch(UINT message, WPARAM w_param, LPARAM l_param);
  MessageResult DispatchMouse(UINT message, WPARAM w_param, LPARAM l_param);

  Call* call_ = nullptr;  // the innermost message being handled
};

}  // namespace veltrin::controls
