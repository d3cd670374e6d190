// The text box's message handling: the edit window's keys, characters, mouse, cursor, context menu
// and focus validation turned into events, the container's reflected EN_* notifications, and the
// keyboard companions (navigation keys, Return with WantReturn).
#include <ole2.h>
#include <olectl.h>

#include "controls/base/clipboard_text.h"
#include "controls/base/comctl_version.h"
#include "controls/base/container_validation.h"
#include "controls/base/host/picture_object.h"
#include "controls/base/input_state.h"
#include "controls/base/mouse_pointers.h"
#include "controls/base/window/edit_view.h"
#include "controls/base/window_input.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls {
namespace {

constexpr UINT kInsertKey = VK_INSERT;

bool IsNavigationKey(int key) noexcept {
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

bool IsDigitsOnly(const std::wstring& text) noexcept {
  return text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

std::wstring TextAt(LPARAM l_param) {
  const auto* text = reinterpret_cast<const wchar_t*>(l_param);
  return text ? std::wstring(text) : std::wstring();
}

}  // namespace

MessageResult TextBoxW::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  if (!InEditMessage()) return kNotHandled;
  switch (message) {
    case WM_SETTEXT: {
      if (suppress_change_ || !multi_line_) return kNotHandled;
      if (Child().GetText() == TextAt(l_param)) return kNotHandled;
      const LRESULT result = CallNext();
      ReportTextChanged();
      return result;
    }
    case WM_MOUSEACTIVATE:
      if (Child().HasFocus()) return kNotHandled;
      return MouseActivateAfterValidation(*this, l_param);
    case WM_INPUTLANGCHANGE:
      ApplyImeMode(hWnd(), ime_context_.Get(), ime_mode_);
      return kNotHandled;
    case WM_IME_SETCONTEXT:
      if (w_param != 0) ApplyImeMode(hWnd(), ime_context_.Get(), ime_mode_);
      return kNotHandled;
    case WM_PASTE:
      if (allow_only_numbers_ && CommonControlsVersion() < CommonControlsClass::kV61) {
        const std::wstring pasted = ClipboardUnicodeText();
        if (!pasted.empty() && !IsDigitsOnly(pasted)) {
          MessageBeep(MB_OK);
          return 0;
        }
      }
      return kNotHandled;
    default:
      return kNotHandled;
  }
}

MessageResult TextBoxW::OnCommand(WORD, WORD code, HWND control) {
  if (!Live() || control != hWnd() || !AtRunTime()) return kNotHandled;
  switch (code) {
    case EN_CHANGE:
      if (!suppress_change_) ReportTextChanged();
      break;
    case EN_MAXTEXT:
      events_.Raise(&TextBoxEvents::MaxText);
      break;
    case EN_HSCROLL:
    case EN_VSCROLL:
      events_.Raise(&TextBoxEvents::Scroll);
      break;
    default:
      break;
  }
  return kNotHandled;
}

MessageResult TextBoxW::RaiseKey(void (TextBoxEvents::*event)(int16_t&, int16_t), UINT key,
                                 UINT flags, bool key_message) {
  if (!InEditMessage()) return kNotHandled;
  auto key_code = static_cast<int16_t>(key & 0xFF);
  events_.Raise(event, key_code, static_cast<int16_t>(ShiftStateNow()));
  if (key_message) {
    if (event == &TextBoxEvents::KeyDown && key_code == static_cast<int16_t>(kInsertKey) &&
        allow_over_type_) {
      over_type_mode_ = !over_type_mode_;
    }
    pending_char_ = static_cast<wchar_t>(PeekCharMessage(hWnd()));
  }
  return CallNextWith(static_cast<WORD>(key_code), static_cast<LPARAM>(flags));
}

MessageResult TextBoxW::OnKeyDown(UINT key, UINT flags) {
  return RaiseKey(&TextBoxEvents::KeyDown, key, flags, true);
}

MessageResult TextBoxW::OnKeyUp(UINT key, UINT flags) {
  return RaiseKey(&TextBoxEvents::KeyUp, key, flags, true);
}

MessageResult TextBoxW::OnSysKeyDown(UINT key, UINT flags) {
  return RaiseKey(&TextBoxEvents::KeyDown, key, flags, false);
}

MessageResult TextBoxW::OnSysKeyUp(UINT key, UINT flags) {
  return RaiseKey(&TextBoxEvents::KeyUp, key, flags, false);
}

MessageResult TextBoxW::OnChar(wchar_t code, UINT flags) {
  if (!InEditMessage()) return kNotHandled;
  auto key_char = static_cast<int16_t>(pending_char_ != 0 ? pending_char_ : code);
  pending_char_ = 0;
  events_.Raise(&TextBoxEvents::KeyPress, key_char);
  if (code != 0 && key_char == 0) return 0;
  const auto typed = static_cast<WORD>(key_char);
  if (allow_over_type_ && over_type_mode_ && typed >= 32 && SelLength() == 0) {
    DeleteOverTypedCharacter();
  }
  return CallNextWith(typed, static_cast<LPARAM>(flags));
}

void TextBoxW::DeleteOverTypedCharacter() {
  const EditView edit(hWnd());
  const int line_start = edit.LineIndex(-1);
  if (line_start < 0) return;
  const int line_end = line_start + edit.LineLength(line_start);
  const auto start = static_cast<int>(edit.GetSel().start);
  if (start >= line_end) return;
  int end = start + 1;
  if (end < line_end) {
    // Only the two units at the caret are read: WM_GETTEXT copies from the start of the text.
    std::wstring head(static_cast<size_t>(start) + 3, L'\0');
    const auto copied =
        static_cast<int>(edit.Send(WM_GETTEXT, head.size(), reinterpret_cast<LPARAM>(head.data())));
    if (copied >= start + 2 && IS_HIGH_SURROGATE(head[static_cast<size_t>(start)]) &&
        IS_LOW_SURROGATE(head[static_cast<size_t>(start) + 1])) {
      end = start + 2;
    }
  }
  edit.SetSel(static_cast<DWORD>(start), static_cast<DWORD>(end));
  SetSelText(L"");
}

MessageResult TextBoxW::OnContextMenu(HWND window, POINT screen) {
  if (!InEditMessage() || window != hWnd()) return kNotHandled;
  bool handled = false;
  const ContainerPoint point = ContextMenuPoint(screen);
  events_.Raise(&TextBoxEvents::ContextMenu, handled, point.x, point.y);
  return handled ? MessageResult(0) : kNotHandled;
}

MessageResult TextBoxW::OnSetCursor(HWND, UINT hit_test, UINT) {
  if (!InEditMessage() || hit_test != HTCLIENT) return kNotHandled;
  if (ole_drag_mode_ == kOleDragAutomatic) {
    over_selection_ = PointerOverSelection();
    if (over_selection_) {
      SetCursor(LoadMousePointerCursor(1));
      return 1;
    }
  } else {
    over_selection_ = false;
  }
  if (SetPointerCursor(hit_test)) return 1;
  return kNotHandled;
}

bool TextBoxW::PointerOverSelection() const noexcept {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(hWnd(), &point);
  const Window edit = Child();
  const DWORD index =
      CharIndexAt(MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
  const auto position = static_cast<int32_t>(edit.Send(EM_POSFROMCHAR, index));
  DWORD start = 0;
  DWORD end = 0;
  edit.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start != end && start <= index && index <= end && position >= 0;
}

float TextBoxW::TwipsX(int pixels) const {
  return static_cast<float>(ScaleX(pixels, ScaleUnit::kPixels, ScaleUnit::kTwips));
}

float TextBoxW::TwipsY(int pixels) const {
  return static_cast<float>(ScaleY(pixels, ScaleUnit::kPixels, ScaleUnit::kTwips));
}

void TextBoxW::RaiseMouse(void (TextBoxEvents::*event)(int16_t, int16_t, float, float),
                          int16_t button, UINT keys, POINT point) {
  events_.Raise(event, button, static_cast<int16_t>(ShiftStateFromMouseFlags(keys)),
                TwipsX(static_cast<int16_t>(point.x)), TwipsY(static_cast<int16_t>(point.y)));
}

MessageResult TextBoxW::OnMouseMove(UINT keys, POINT point) {
  if (!InEditMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  if (MouseEntered()) events_.Raise(&TextBoxEvents::MouseEnter);
  RaiseMouse(&TextBoxEvents::MouseMove, static_cast<int16_t>(ButtonStateFromMouseFlags(keys)), keys,
             point);
  return result;
}

MessageResult TextBoxW::ButtonDown(int16_t button, UINT keys, POINT point) {
  if (!InEditMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  RaiseMouse(&TextBoxEvents::MouseDown, button, keys, point);
  click_armed_ = true;
  return result;
}

MessageResult TextBoxW::ButtonUp(int16_t button, UINT keys, POINT point) {
  if (!InEditMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  RaiseMouse(&TextBoxEvents::MouseUp, button, keys, point);
  if (click_armed_) {
    click_armed_ = false;
    const float x = TwipsX(static_cast<int16_t>(point.x));
    const float y = TwipsY(static_cast<int16_t>(point.y));
    if (x >= 0 && y >= 0 && x <= TwipsX(ClientWidth()) && y <= TwipsY(ClientHeight())) {
      events_.Raise(&TextBoxEvents::Click);
    }
  }
  return result;
}

MessageResult TextBoxW::ButtonDblClk() {
  if (!InEditMessage()) return kNotHandled;
  const LRESULT result = CallNext();
  events_.Raise(&TextBoxEvents::DblClick);
  return result;
}

MessageResult TextBoxW::OnLButtonDown(UINT keys, POINT point) {
  if (InEditMessage() && ole_drag_mode_ == kOleDragAutomatic && over_selection_) {
    POINT screen = point;
    ClientToScreen(hWnd(), &screen);
    if (DragDetect(hWnd(), screen)) {
      click_armed_ = false;
      OLEDrag();
    }
    return 0;
  }
  return ButtonDown(kLeftButton, keys, point);
}

MessageResult TextBoxW::OnLButtonUp(UINT keys, POINT point) {
  return ButtonUp(kLeftButton, keys, point);
}

MessageResult TextBoxW::OnLButtonDblClk(UINT, POINT) {
  return ButtonDblClk();
}

MessageResult TextBoxW::OnRButtonDown(UINT keys, POINT point) {
  return ButtonDown(kRightButton, keys, point);
}

MessageResult TextBoxW::OnRButtonUp(UINT keys, POINT point) {
  return ButtonUp(kRightButton, keys, point);
}

MessageResult TextBoxW::OnRButtonDblClk(UINT, POINT) {
  return ButtonDblClk();
}

MessageResult TextBoxW::OnMButtonDown(UINT keys, POINT point) {
  return ButtonDown(kMiddleButton, keys, point);
}

MessageResult TextBoxW::OnMButtonUp(UINT keys, POINT point) {
  return ButtonUp(kMiddleButton, keys, point);
}

MessageResult TextBoxW::OnMButtonDblClk(UINT, POINT) {
  return ButtonDblClk();
}

MessageResult TextBoxW::OnMouseLeave() {
  if (!InEditMessage()) return kNotHandled;
  if (MouseLeft()) events_.Raise(&TextBoxEvents::MouseLeave);
  return kNotHandled;
}

MessageResult TextBoxW::OnHScroll(int code, int, HWND) {
  if (InEditMessage() && code == SB_THUMBTRACK) events_.Raise(&TextBoxEvents::Scroll);
  return kNotHandled;
}

MessageResult TextBoxW::OnVScroll(int code, int, HWND) {
  if (InEditMessage() && code == SB_THUMBTRACK) events_.Raise(&TextBoxEvents::Scroll);
  return kNotHandled;
}

HRESULT STDMETHODCALLTYPE TextBoxW::GetControlInfo(bool& handled, int32_t& accel_count,
                                                   HACCEL& accel_table, int32_t& flags) {
  if (want_return_ && multi_line_) {
    handled = true;
    accel_count = 0;
    accel_table = nullptr;
    flags = CTRLINFO_EATS_RETURN;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TextBoxW::TranslateAccelerator(bool& handled, HRESULT& ret_val,
                                                         UINT message, WPARAM w_param,
                                                         LPARAM l_param, int32_t) {
  if ((message != WM_KEYDOWN && message != WM_KEYUP) || !AtRunTime()) return S_OK;
  try {
    const auto key_code = static_cast<int16_t>(w_param & 0xFF);
    bool is_input_key = false;
    events_.Raise(
        message == WM_KEYDOWN ? &TextBoxEvents::PreviewKeyDown : &TextBoxEvents::PreviewKeyUp,
        key_code, is_input_key);
    const bool own_key =
        IsNavigationKey(key_code) ||
        (is_input_key && (key_code == VK_TAB || key_code == VK_RETURN || key_code == VK_ESCAPE));
    if (own_key && Live()) {
      Child().Send(message, w_param, l_param);
      handled = true;
      ret_val = S_OK;
    }
  } catch (...) {
    // Errors of the form's handlers stay here: the host sees the key as not handled.
  }
  return S_OK;
}

}  // namespace veltrin::controls
