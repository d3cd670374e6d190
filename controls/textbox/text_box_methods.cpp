// The text box's methods on the live edit window: selection, clipboard, undo, lines, positions,
// margins and balloon tips. Without a window they do nothing and answer 0, False or "".
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/textbox/text_box.h"
#include "controls/textbox/text_box_values.h"

namespace veltrin::controls {
namespace {

struct Selection {
  DWORD start = 0;
  DWORD end = 0;
};

Selection SelectionOf(Window edit) noexcept {
  Selection selection;
  edit.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
            reinterpret_cast<LPARAM>(&selection.end));
  return selection;
}

// Rounds to a 16-bit integer as the automation runtime does; out of range raises error 6.
int16_t ToInteger16(double value) {
  const double rounded = std::nearbyint(value);
  if (rounded < -32768.0 || rounded > 32767.0) throw RunTimeError(kOverflow);
  return static_cast<int16_t>(rounded);
}

}  // namespace

int32_t TextBoxW::SelStart() const noexcept {
  return Live() ? static_cast<int32_t>(SelectionOf(Child()).start) : 0;
}

void TextBoxW::SetSelStart(int32_t value) {
  if (!Live()) return;
  const std::wstring text = Text();
  if (value < 0 || static_cast<size_t>(value) > text.size()) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  const auto start = static_cast<WPARAM>(AlignToCharacter(text, static_cast<size_t>(value), false));
  Child().Send(EM_SETSEL, start, static_cast<LPARAM>(start));
}

int32_t TextBoxW::SelLength() const noexcept {
  if (!Live()) return 0;
  const Selection selection = SelectionOf(Child());
  return static_cast<int32_t>(selection.end - selection.start);
}

void TextBoxW::SetSelLength(int32_t value) {
  if (!Live()) return;
  const std::wstring text = Text();
  const DWORD start = SelectionOf(Child()).start;
  if (value < 0 || start + static_cast<size_t>(value) > text.size()) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  const size_t end = AlignToCharacter(text, start + static_cast<size_t>(value), true);
  Child().Send(EM_SETSEL, start, static_cast<LPARAM>(end));
}

std::wstring TextBoxW::SelText() const {
  if (!Live()) return {};
  const Selection selection = SelectionOf(Child());
  const std::wstring text = Text();
  if (selection.start >= text.size() || selection.end <= selection.start) return {};
  return text.substr(selection.start, selection.end - selection.start);
}

void TextBoxW::SetSelText(std::wstring_view text) {
  if (!Live()) return;
  const std::wstring value(text);
  Child().Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TextBoxW::Copy() const noexcept {
  if (Live()) Child().Send(WM_COPY);
}

void TextBoxW::Cut() const noexcept {
  if (Live()) Child().Send(WM_CUT);
}

void TextBoxW::Paste() const noexcept {
  if (Live()) Child().Send(WM_PASTE);
}

void TextBoxW::Clear() const noexcept {
  if (Live()) Child().Send(WM_CLEAR);
}

void TextBoxW::Undo() const noexcept {
  if (Live()) Child().Send(EM_UNDO);
}

bool TextBoxW::CanUndo() const noexcept {
  return Live() && Child().Send(EM_CANUNDO) != 0;
}

void TextBoxW::ResetUndoFlag() const noexcept {
  if (Live()) Child().Send(EM_EMPTYUNDOBUFFER);
}

bool TextBoxW::Modified() const noexcept {
  return Live() && Child().Send(EM_GETMODIFY) != 0;
}

void TextBoxW::SetModified(bool value) const noexcept {
  if (Live()) Child().Send(EM_SETMODIFY, value ? 1 : 0);
}

std::wstring TextBoxW::GetLine(int32_t line_number) const {
  if (line_number < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return {};
  const Window edit = Child();
  const auto index =
      static_cast<int32_t>(edit.Send(EM_LINEINDEX, static_cast<WPARAM>(line_number - 1)));
  if (index < 0) throw RunTimeError(kInvalidPropertyValue);
  const auto length = static_cast<int32_t>(edit.Send(EM_LINELENGTH, static_cast<WPARAM>(index)));
  if (length <= 0) return {};
  // EM_GETLINE reads the buffer's size from its first character; at least two characters hold it.
  std::wstring line(static_cast<size_t>(std::max(length, 2)), L'\0');
  line[0] = static_cast<wchar_t>(std::min(length, 0xFFFF));
  const WPARAM line_index =
      line_number == 0 ? static_cast<WPARAM>(edit.Send(EM_LINEFROMCHAR, static_cast<WPARAM>(index)))
                       : static_cast<WPARAM>(line_number - 1);
  const auto copied = static_cast<int32_t>(
      edit.Send(EM_GETLINE, line_index, reinterpret_cast<LPARAM>(line.data())));
  if (copied <= 0) return {};
  line.resize(static_cast<size_t>(std::min(copied, length)));
  return line;
}

int32_t TextBoxW::GetLineCount() const noexcept {
  return Live() ? static_cast<int32_t>(Child().Send(EM_GETLINECOUNT)) : 0;
}

int32_t TextBoxW::GetLineFromChar(int32_t char_index) const {
  if (char_index < -1) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return 0;
  return static_cast<int32_t>(
             Child().Send(EM_LINEFROMCHAR, static_cast<WPARAM>(static_cast<INT_PTR>(char_index)))) +
         1;
}

void TextBoxW::ScrollToLine(int32_t line_number) const {
  if (line_number < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return;
  const Window edit = Child();
  if (static_cast<int32_t>(edit.Send(EM_LINEINDEX, static_cast<WPARAM>(line_number - 1))) < 0) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  const auto first = static_cast<int32_t>(edit.Send(EM_GETFIRSTVISIBLELINE));
  edit.Send(EM_LINESCROLL, 0, static_cast<LPARAM>(line_number - first - 1));
}

void TextBoxW::ScrollToCaret() const noexcept {
  if (Live()) Child().Send(EM_SCROLLCARET);
}

int32_t TextBoxW::CharFromPos(float x, float y) const {
  if (!Live()) return 0;
  const int16_t px = ToInteger16(ScaleX(x, ScaleUnit::kContainerPosition, ScaleUnit::kPixels));
  const int16_t py = ToInteger16(ScaleY(y, ScaleUnit::kContainerPosition, ScaleUnit::kPixels));
  return static_cast<int32_t>(
      CharIndexAt(MAKELPARAM(static_cast<WORD>(px), static_cast<WORD>(py))));
}

DWORD TextBoxW::CharIndexAt(LPARAM client_point) const noexcept {
  const Window edit = Child();
  const auto low = static_cast<WORD>(LOWORD(edit.Send(EM_CHARFROMPOS, 0, client_point)));
  // The character is in or next to the visible part, which starts at the first visible line (a
  // single-line edit reports its first visible character) and holds far fewer than 32,768
  // characters: the low 16 bits place the index relative to that start.
  const auto first_visible = static_cast<WPARAM>(edit.Send(EM_GETFIRSTVISIBLELINE));
  const auto start = static_cast<int32_t>(multi_line_ ? edit.Send(EM_LINEINDEX, first_visible)
                                                      : static_cast<LRESULT>(first_visible));
  const auto offset = static_cast<int16_t>(static_cast<WORD>(low - static_cast<WORD>(start)));
  return static_cast<DWORD>(std::max(0, start + offset));
}

float TextBoxW::LeftMargin() const noexcept {
  if (!Live()) return 0;
  const auto pixels = static_cast<int16_t>(LOWORD(Child().Send(EM_GETMARGINS)));
  return static_cast<float>(ScaleX(pixels, ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

float TextBoxW::RightMargin() const noexcept {
  if (!Live()) return 0;
  const auto pixels = static_cast<int16_t>(HIWORD(Child().Send(EM_GETMARGINS)));
  return static_cast<float>(ScaleX(pixels, ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

void TextBoxW::SetLeftMargin(float value) {
  SetMargin(true, value);
}

void TextBoxW::SetRightMargin(float value) {
  SetMargin(false, value);
}

void TextBoxW::SetMargin(bool left, float value) {
  const WPARAM which = left ? EC_LEFTMARGIN : EC_RIGHTMARGIN;
  if (value == -1.0f || value == 65535.0f) {
    if (Live()) {
      Child().Send(EM_SETMARGINS, which,
                   left ? MAKELPARAM(EC_USEFONTINFO, 0) : MAKELPARAM(0, EC_USEFONTINFO));
    }
    return;
  }
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  const int16_t pixels = ToInteger16(ScaleX(value, ScaleUnit::kContainerSize, ScaleUnit::kPixels));
  if (!Live()) return;
  const auto word = static_cast<WORD>(pixels);
  Child().Send(EM_SETMARGINS, which, left ? MAKELPARAM(word, 0) : MAKELPARAM(0, word));
}

bool TextBoxW::ShowBalloonTip(std::wstring_view text, std::wstring_view title, int32_t icon) {
  if (!Live() || CommonControlsVersion() < CommonControlsClass::kV60) return false;
  RequireRange(icon, 0, 3);
  if (!Child().HasFocus()) ::SetFocus(hWndUserControl());
  const std::wstring text_value(text);
  const std::wstring title_value(title);
  EDITBALLOONTIP tip{};
  tip.cbStruct = sizeof(tip);
  tip.pszTitle = title_value.c_str();
  tip.pszText = text_value.c_str();
  tip.ttiIcon = icon;
  return Child().Send(EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)) != 0;
}

bool TextBoxW::HideBalloonTip() const noexcept {
  if (!Live() || CommonControlsVersion() < CommonControlsClass::kV60) return false;
  return Child().Send(EM_HIDEBALLOONTIP) != 0;
}

}  // namespace veltrin::controls
