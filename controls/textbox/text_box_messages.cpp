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

void TextBoxW::AfterKeyDown(int16_t key_code) {
  if (key_code == static_cast<int16_t>(kInsertKey) && allow_over_type_) {
    over_type_mode_ = !over_type_mode_;
  }
}

MessageResult TextBoxW::ForwardCharacter(wchar_t typed, int16_t key_char, UINT flags) {
  if (typed != 0 && key_char == 0) return 0;  // KeyPress cancelled the character
  const auto character = static_cast<WORD>(key_char);
  if (allow_over_type_ && over_type_mode_ && character >= 32 && SelLength() == 0) {
    DeleteOverTypedCharacter();
  }
  return CallNextWith(character, static_cast<LPARAM>(flags));
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
    // Only the text up to the two units at the caret is read.
    const std::wstring head = edit.GetTextPrefix(static_cast<size_t>(start) + 2);
    if (head.size() >= static_cast<size_t>(start) + 2 &&
        IS_HIGH_SURROGATE(head[static_cast<size_t>(start)]) &&
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

bool TextBoxW::SetOwnCursor() {
  over_selection_ = OLEDragMode() == kOleDragAutomatic && PointerOverSelection();
  if (over_selection_) SetCursor(LoadMousePointerCursor(1));
  return over_selection_;
}

bool TextBoxW::PointerOverSelection() const noexcept {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(hWnd(), &point);
  const EditView edit = Edit();
  const DWORD index =
      CharIndexAt(MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
  // A character scrolled above the client area does not count.
  const std::optional<POINT> position = edit.PosFromChar(index);
  const EditView::Selection selection = edit.GetSel();
  return selection.start != selection.end && selection.start <= index && index <= selection.end &&
         position && position->y >= 0;
}

float TextBoxW::TwipsX(int pixels) const {
  return static_cast<float>(ScaleX(pixels, ScaleUnit::kPixels, ScaleUnit::kTwips));
}

float TextBoxW::TwipsY(int pixels) const {
  return static_cast<float>(ScaleY(pixels, ScaleUnit::kPixels, ScaleUnit::kTwips));
}

MessageResult TextBoxW::LeftButtonDown(UINT keys, POINT point) {
  if (OLEDragMode() != kOleDragAutomatic || !over_selection_) {
    return NativeControl::LeftButtonDown(keys, point);
  }
  POINT screen = point;
  ClientToScreen(hWnd(), &screen);
  if (DragDetect(hWnd(), screen)) {
    click_armed_ = false;
    OLEDrag();
  }
  return 0;
}

// A press arms Click; the release inside the box raises it.
void TextBoxW::AfterButton(MouseButtonAction action, POINT point) {
  switch (action) {
    case MouseButtonAction::kDown:
      click_armed_ = true;
      break;
    case MouseButtonAction::kUp: {
      if (!click_armed_) break;
      click_armed_ = false;
      const float x = TwipsX(point.x);
      const float y = TwipsY(point.y);
      if (x >= 0 && y >= 0 && x <= TwipsX(ClientWidth()) && y <= TwipsY(ClientHeight())) {
        events_.Raise(&TextBoxEvents::Click);
      }
      break;
    }
    case MouseButtonAction::kDoubleClick:
      events_.Raise(&TextBoxEvents::DblClick);
      break;
  }
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

}  // namespace veltrin::controls
