// The glue between Win32 and a MessageHandler: window classes whose procedure hands every message
// to the handler given at creation, and the dialog and dialog-hook procedures that find their
// handler from WM_INITDIALOG.
#pragma once

#include <windows.h>

#include <string>

#include "controls/base/host/window_handles.h"
#include "controls/base/window/message_handler.h"

namespace veltrin::controls {

// A window class served by HandlerWindowProc.
struct HandlerClass {
  const wchar_t* name;          // registered in this module once per process
  UINT style = CS_DBLCLKS;      // CS_* class styles
  HBRUSH background = nullptr;  // null: the handler paints the background
  HCURSOR cursor = nullptr;     // null: the arrow
};

// What CreateHandlerWindow creates; WindowCreation::At fills the position and size from a RECT.
struct WindowCreation {
  const wchar_t* class_name;  // a HandlerClass name
  std::wstring text;
  DWORD style = 0;
  DWORD ex_style = 0;
  int x = CW_USEDEFAULT;  // position in the parent's client area (screen for top-level windows)
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;
  int id = 0;  // the child identifier (children only)

  WindowCreation& At(const RECT& bounds) noexcept {
    x = bounds.left;
    y = bounds.top;
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
    return *this;
  }
};

// Registers `window_class` unless it is registered already. Throws RunTimeError 5 on failure.
void RegisterHandlerClass(const HandlerClass& window_class);

// Creates a window whose messages, from WM_NCCREATE to WM_NCDESTROY, go to `handler` (unhandled
// ones to DefWindowProcW). After WM_NCDESTROY the window no longer knows the handler. Throws
// RunTimeError 5 when the window cannot be created.
UniqueWindow CreateHandlerWindow(MessageHandler& handler, const WindowCreation& creation);

// The handler of a window made by CreateHandlerWindow (or a dialog below), or null.
MessageHandler* HandlerOfWindow(HWND window) noexcept;

// The window procedure of every HandlerClass.
LRESULT CALLBACK HandlerWindowProc(HWND window, UINT message, WPARAM w_param,
                                   LPARAM l_param) noexcept;

// A dialog procedure (CreateDialogParamW, DialogBoxParamW): the init parameter is the
// MessageHandler*. Unhandled messages answer FALSE (the dialog manager's default).
INT_PTR CALLBACK HandlerDialogProc(HWND dialog, UINT message, WPARAM w_param,
                                   LPARAM l_param) noexcept;

// The shared body of the dialog hook procedures: `handler` is known from WM_INITDIALOG on.
UINT_PTR DispatchDialogHook(HWND dialog, UINT message, WPARAM w_param, LPARAM l_param,
                            MessageHandler* init_handler) noexcept;

// A common-dialog hook procedure: WM_INITDIALOG's lParam points to the dialog's structure
// (OPENFILENAMEW, CHOOSECOLORW, CHOOSEFONTW, PRINTDLGW, PAGESETUPDLGW, FINDREPLACEW), whose
// lCustData holds the MessageHandler*. Unhandled messages answer 0 (the dialog's default).
template <typename DialogStruct>
UINT_PTR CALLBACK DialogHookProc(HWND dialog, UINT message, WPARAM w_param,
                                 LPARAM l_param) noexcept {
  MessageHandler* init_handler = nullptr;
  if (message == WM_INITDIALOG && l_param) {
    init_handler = reinterpret_cast<MessageHandler*>(
        reinterpret_cast<const DialogStruct*>(l_param)->lCustData);
  }
  return DispatchDialogHook(dialog, message, w_param, l_param, init_handler);
}

}  // namespace veltrin::controls
