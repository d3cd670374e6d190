// Window, dialog and hook procedures that find a MessageHandler for their window and dispatch.
#include "controls/base/window/window_procedure.h"

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

// Dialogs and hooked common dialogs keep their handler in a property: their window data belongs
// to the dialog manager.
constexpr wchar_t kHandlerProperty[] = L"VeltrinMessageHandler";

LRESULT DefaultProcedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  return DefWindowProcW(window, message, w_param, l_param);
}

LRESULT DialogDefault(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

MessageHandler* PropertyHandler(HWND window) noexcept {
  return static_cast<MessageHandler*>(GetPropW(window, kHandlerProperty));
}

}  // namespace

void RegisterHandlerClass(const HandlerClass& window_class) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, window_class.name, &existing)) return;
  WNDCLASSEXW registration{};
  registration.cbSize = sizeof(registration);
  registration.style = window_class.style;
  registration.lpfnWndProc = HandlerWindowProc;
  registration.hInstance = instance;
  registration.hCursor =
      window_class.cursor ? window_class.cursor : LoadCursorW(nullptr, IDC_ARROW);
  registration.hbrBackground = window_class.background;
  registration.lpszClassName = window_class.name;
  if (!RegisterClassExW(&registration)) throw RunTimeError(kInvalidProcedureCall);
}

UniqueWindow CreateHandlerWindow(MessageHandler& handler, const WindowCreation& creation) {
  const HWND window =
      CreateWindowExW(creation.ex_style, creation.class_name, creation.text.c_str(), creation.style,
                      creation.x, creation.y, creation.width, creation.height, creation.parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(creation.id)),
                      GetModuleHandleW(nullptr), &handler);
  if (!window) throw RunTimeError(kInvalidProcedureCall);
  return UniqueWindow(window);
}

MessageHandler* HandlerOfWindow(HWND window) noexcept {
  if (!window) return nullptr;
  if (MessageHandler* dialog = PropertyHandler(window)) return dialog;
  WNDPROC procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
  if (procedure != HandlerWindowProc) return nullptr;
  return reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK HandlerWindowProc(HWND window, UINT message, WPARAM w_param,
                                   LPARAM l_param) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l_param);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!handler) return DefWindowProcW(window, message, w_param, l_param);
  if (message == WM_NCDESTROY) {
    // The last message: the window lets go of its handler, which may go away after it.
    const LRESULT result =
        handler->HandleMessage(window, message, w_param, l_param, DefaultProcedure);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return result;
  }
  return handler->HandleMessage(window, message, w_param, l_param, DefaultProcedure);
}

INT_PTR CALLBACK HandlerDialogProc(HWND dialog, UINT message, WPARAM w_param,
                                   LPARAM l_param) noexcept {
  MessageHandler* init_handler =
      message == WM_INITDIALOG ? reinterpret_cast<MessageHandler*>(l_param) : nullptr;
  return static_cast<INT_PTR>(DispatchDialogHook(dialog, message, w_param, l_param, init_handler));
}

UINT_PTR DispatchDialogHook(HWND dialog, UINT message, WPARAM w_param, LPARAM l_param,
                            MessageHandler* init_handler) noexcept {
  if (init_handler) SetPropW(dialog, kHandlerProperty, init_handler);
  MessageHandler* handler = PropertyHandler(dialog);
  if (!handler) return 0;
  if (message == WM_NCDESTROY) RemovePropW(dialog, kHandlerProperty);
  return static_cast<UINT_PTR>(
      handler->HandleMessage(dialog, message, w_param, l_param, DialogDefault));
}

}  // namespace veltrin::controls
