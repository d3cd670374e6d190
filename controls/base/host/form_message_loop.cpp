// The form's message loop: keys go to the in-place active object first, then to the form
// (Tab, Shift+Tab, the default and cancel buttons), before they are translated and dispatched.
#include "controls/base/host/form.h"

#include "controls/base/host/control_site.h"

namespace veltrin::controls {

namespace {

bool IsPushButton(HWND window) noexcept {
  wchar_t name[16] = {};
  if (!GetClassNameW(window, name, 16) ||
      CompareStringOrdinal(name, -1, L"Button", -1, TRUE) != CSTR_EQUAL) {
    return false;
  }
  const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

IOleInPlaceActiveObject* Form::ActiveObject() const noexcept {
  return frame_ ? frame_->ActiveObject() : nullptr;
}

IOleInPlaceFrame* Form::Frame() const noexcept {
  return frame_.Get();
}

void Form::ClickButton(Extender& button) {
  SendMessageW(hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.hWnd()), BN_CLICKED),
               reinterpret_cast<LPARAM>(button.hWnd()));
}

bool Form::HandleFormKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0) return false;
  Extender* active = ActiveControl();
  const DWORD flags = active && active->site_ ? active->site_->ControlInfo().dwFlags : 0;
  switch (message.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      TabToNextControl(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      if (active && !active->Control() && IsPushButton(active->hWnd())) {
        ClickButton(*active);
        return true;
      }
      if (flags & CTRLINFO_EATS_RETURN) return false;
      if (default_button_ && IsWindowEnabled(default_button_->hWnd())) {
        ClickButton(*default_button_);
        return true;
      }
      return false;
    case VK_ESCAPE:
      if (flags & CTRLINFO_EATS_ESCAPE) return false;
      if (cancel_button_ && IsWindowEnabled(cancel_button_->hWnd())) {
        ClickButton(*cancel_button_);
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool Form::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (message.hwnd != hWnd() && !IsChild(hWnd(), message.hwnd)) return false;
  if (IOleInPlaceActiveObject* active = ActiveObject()) {
    // The object may be replaced while it translates; keep it alive for the call. The reference
    // goes to its identity: an accelerator wrapper counts on whatever it wraps at the moment, and
    // a key that moves the focus changes that between AddRef and Release.
    ComPtr<IUnknown> keep;
    if (FAILED(active->QueryInterface(IID_IUnknown, keep.PutVoid()))) return false;
    if (active->TranslateAccelerator(&message) == S_OK) return true;
  }
  try {
    return HandleFormKey(message);
  } catch (...) {
    return true;  // an event handler failed; the key has been acted on
  }
}

bool Form::Dispatch(MSG& message) {
  if (message.message == WM_QUIT) {
    quit_code_ = static_cast<int>(message.wParam);
    return false;
  }
  if (!PreTranslate(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

bool Form::PumpMessage() {
  MSG message{};
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == -1) return false;
  if (got == 0) {
    quit_code_ = static_cast<int>(message.wParam);
    return false;
  }
  return Dispatch(message);
}

bool Form::PumpPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(message)) return false;
  }
  return true;
}

int Form::RunMessageLoop() {
  while (PumpMessage()) {
  }
  return quit_code_;
}

bool ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

}  // namespace veltrin::controls
