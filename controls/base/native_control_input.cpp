// The input behaviour every native control shares: the child's key, character, mouse-button,
// move, leave, cursor and activation messages turned into InputEvents, with the control's hooks
// for what it adds.
#include <cstdint>

#include "controls/base/container_validation.h"
#include "controls/base/input_state.h"
#include "controls/base/native_control.h"
#include "controls/base/window_input.h"

namespace veltrin::controls {
namespace {

bool IsNavigationKey(WPARAM key) noexcept {
  switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

int16_t ButtonMask(MouseButton button) noexcept {
  switch (button) {
    case MouseButton::kLeft:
      return kLeftButton;
    case MouseButton::kRight:
      return kRightButton;
    case MouseButton::kMiddle:
      return kMiddleButton;
  }
  return 0;
}

}  // namespace

bool NativeControl::ChildMessage() const noexcept {
  return child_ && MessageWindow() == child_.Get();
}

bool NativeControl::TakesInput() const noexcept {
  return ChildMessage();
}

MessageResult NativeControl::OnKeyDown(UINT key, UINT flags) {
  return RaiseKey(true, true, key, flags);
}

MessageResult NativeControl::OnKeyUp(UINT key, UINT flags) {
  return RaiseKey(false, true, key, flags);
}

MessageResult NativeControl::OnSysKeyDown(UINT key, UINT flags) {
  return RaiseKey(true, false, key, flags);
}

MessageResult NativeControl::OnSysKeyUp(UINT key, UINT flags) {
  return RaiseKey(false, false, key, flags);
}

MessageResult NativeControl::RaiseKey(bool down, bool key_message, UINT key, UINT flags) {
  if (!TakesInput()) return kNotHandled;
  auto key_code = static_cast<int16_t>(key & 0xFF);
  RaiseInput(down ? &InputEvents::KeyDown : &InputEvents::KeyUp, key_code,
             static_cast<int16_t>(ShiftStateNow()));
  if (key_message) {
    if (down) AfterKeyDown(key_code);
    pending_char_ = static_cast<wchar_t>(PeekCharMessage(hWnd()));
  }
  return CallNextWith(static_cast<uint16_t>(key_code), static_cast<LPARAM>(flags));
}

MessageResult NativeControl::OnChar(wchar_t code, UINT flags) {
  if (!TakesInput()) return kNotHandled;
  // The character peeked at the key is the one KeyPress reports (a dead key's result included).
  auto key_char = static_cast<int16_t>(pending_char_ != 0 ? pending_char_ : code);
  pending_char_ = 0;
  RaiseInput(&InputEvents::KeyPress, key_char);
  return ForwardCharacter(code, key_char, flags);
}

// A whole code point, or an IME's character, reaches the child as WM_CHAR (above U+FFFF as its
// surrogate pair), so that KeyPress sees every character the same way.
MessageResult NativeControl::OnUniChar(UINT code_point, UINT flags) {
  if (!ChildMessage()) return kNotHandled;
  if (code_point == UNICODE_NOCHAR) return TRUE;
  SendCharacter(code_point, static_cast<LPARAM>(flags));
  return 0;
}

MessageResult NativeControl::OnImeChar(wchar_t code, UINT flags) {
  if (!ChildMessage()) return kNotHandled;
  SendCharacter(code, static_cast<LPARAM>(flags));
  return 0;
}

void NativeControl::SendCharacter(UINT code_point, LPARAM flags) const noexcept {
  const Window child = Child();
  if (code_point < 0x10000) {
    child.Send(WM_CHAR, code_point, flags);
    return;
  }
  const UINT value = code_point - 0x10000;
  child.Send(WM_CHAR, 0xD800 + (value >> 10), flags);
  child.Send(WM_CHAR, 0xDC00 + (value & 0x3FF), flags);
}

MessageResult NativeControl::ForwardCharacter(wchar_t, int16_t key_char, UINT flags) {
  return CallNextWith(static_cast<uint16_t>(key_char), static_cast<LPARAM>(flags));
}

bool NativeControl::PreviewKey(UINT message, WPARAM w_param, LPARAM l_param) {
  const auto key_code = static_cast<int16_t>(w_param & 0xFF);
  bool is_input_key = false;
  RaiseInput(message == WM_KEYDOWN ? &InputEvents::PreviewKeyDown : &InputEvents::PreviewKeyUp,
             key_code, is_input_key);
  const bool input_key = key_code == VK_TAB || key_code == VK_RETURN || key_code == VK_ESCAPE;
  if (!child_ || !(IsNavigationKey(static_cast<WPARAM>(key_code)) || (input_key && is_input_key))) {
    return false;
  }
  Child().Send(message, w_param, l_param);
  return true;
}

void NativeControl::RaiseMouse(void (InputEvents::*event)(int16_t, int16_t, float, float),
                               int16_t button, UINT keys, POINT point) {
  if (!InputHandler()) return;
  const auto x = static_cast<float>(ScaleX(point.x, ScaleUnit::kPixels, ScaleUnit::kTwips));
  const auto y = static_cast<float>(ScaleY(point.y, ScaleUnit::kPixels, ScaleUnit::kTwips));
  RaiseInput(event, button, static_cast<int16_t>(ShiftStateFromMouseFlags(keys)), x, y);
}

MessageResult NativeControl::OnMouseMove(UINT keys, POINT point) {
  if (!TakesInput()) return kNotHandled;
  const LRESULT result = CallNext();
  AfterMouseMove(keys);
  if (MouseEntered()) RaiseInput(&InputEvents::MouseEnter);
  RaiseMouse(&InputEvents::MouseMove, static_cast<int16_t>(ButtonStateFromMouseFlags(keys)), keys,
             point);
  return result;
}

MessageResult NativeControl::OnMouseButton(MouseButton button, MouseButtonAction action, UINT keys,
                                           POINT point) {
  if (!TakesInput()) return kNotHandled;
  if (button == MouseButton::kLeft && action == MouseButtonAction::kDown) {
    return LeftButtonDown(keys, point);
  }
  return ForwardButton(action, ButtonMask(button), keys, point);
}

MessageResult NativeControl::LeftButtonDown(UINT keys, POINT point) {
  return ForwardButton(MouseButtonAction::kDown, kLeftButton, keys, point);
}

MessageResult NativeControl::ForwardButton(MouseButtonAction action, int16_t button, UINT keys,
                                           POINT point) {
  const LRESULT result = CallNext();
  if (action == MouseButtonAction::kDown) RaiseMouse(&InputEvents::MouseDown, button, keys, point);
  if (action == MouseButtonAction::kUp) RaiseMouse(&InputEvents::MouseUp, button, keys, point);
  AfterButton(action, point);
  return result;
}

MessageResult NativeControl::OnMouseLeave() {
  if (!TakesInput()) return kNotHandled;
  const LRESULT result = CallNext();
  if (MouseLeft()) RaiseInput(&InputEvents::MouseLeave);
  return result;
}

MessageResult NativeControl::OnSetCursor(HWND, UINT hit_test, UINT) {
  if (!TakesInput() || hit_test != HTCLIENT) return kNotHandled;
  if (SetOwnCursor() || SetPointerCursor(hit_test)) return TRUE;
  return kNotHandled;
}

MessageResult NativeControl::OnMouseActivate(HWND, UINT hit_test, UINT mouse_message) {
  if (!TakesInput() || Child().HasFocus()) return kNotHandled;
  return MouseActivateAfterValidation(*this, MAKELPARAM(hit_test, mouse_message));
}

HRESULT STDMETHODCALLTYPE NativeControl::TranslateAccelerator(bool& handled, HRESULT& ret_val,
                                                              UINT message, WPARAM w_param,
                                                              LPARAM l_param, int32_t) {
  if ((message != WM_KEYDOWN && message != WM_KEYUP) || !PreviewsKeys()) return S_OK;
  try {
    if (PreviewKey(message, w_param, l_param)) {
      handled = true;
      ret_val = S_OK;
    }
  } catch (...) {
    return PreviewFailure();
  }
  return S_OK;
}

}  // namespace veltrin::controls
