// The text box's methods on the live edit window: selection, clipboard, undo, lines, positions,
// margins and balloon tips. Without a window they do nothing and answer 0, False or "".
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/base/window/edit_view.h"
#include "controls/textbox/text_box.h"
#include "controls/textbox/text_box_values.h"

namespace veltrin::controls {
namespace {

// Rounds to a 16-bit integer as the automation runtime does; out of range raises error 6.
int16_t ToInteger16(double value) {
  const double rounded = std::nearbyint(value);
  if (rounded < -32768.0 || rounded > 32767.0) throw RunTimeError(kOverflow);
  return static_cast<int16_t>(rounded);
}

}  // namespace

int32_t TextBoxW::SelStart() const noexcept {
  return Live() ? static_cast<int32_t>(Edit().GetSel().start) : 0;
}

void TextBoxW::SetSelStart(int32_t value) {
  if (!Live()) return;
  const std::wstring text = Text();
  if (value < 0 || static_cast<size_t>(value) > text.size()) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  const auto start = static_cast<DWORD>(AlignToCharacter(text, static_cast<size_t>(value), false));
  Edit().SetSel(start, start);
}

int32_t TextBoxW::SelLength() const noexcept {
  if (!Live()) return 0;
  const EditView::Selection selection = Edit().GetSel();
  return static_cast<int32_t>(selection.end - selection.start);
}

void TextBoxW::SetSelLength(int32_t value) {
  if (!Live()) return;
  const std::wstring text = Text();
  const DWORD start = Edit().GetSel().start;
  if (value < 0 || start + static_cast<size_t>(value) > text.size()) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  const auto end =
      static_cast<DWORD>(AlignToCharacter(text, start + static_cast<size_t>(value), true));
  Edit().SetSel(start, end);
}

std::wstring TextBoxW::SelText() const {
  if (!Live()) return {};
  const EditView::Selection selection = Edit().GetSel();
  const std::wstring text = Text();
  if (selection.start >= text.size() || selection.end <= selection.start) return {};
  return text.substr(selection.start, selection.end - selection.start);
}

void TextBoxW::SetSelText(std::wstring_view text) {
  if (!Live()) return;
  Edit().ReplaceSel(std::wstring(text));
}

void TextBoxW::Copy() const noexcept {
  if (Live()) Edit().Copy();
}

void TextBoxW::Cut() const noexcept {
  if (Live()) Edit().Cut();
}

void TextBoxW::Paste() const noexcept {
  if (Live()) Edit().Paste();
}

void TextBoxW::Clear() const noexcept {
  if (Live()) Edit().Clear();
}

void TextBoxW::Undo() const noexcept {
  if (Live()) Edit().Undo();
}

bool TextBoxW::CanUndo() const noexcept {
  return Live() && Edit().CanUndo();
}

void TextBoxW::ResetUndoFlag() const noexcept {
  if (Live()) Edit().EmptyUndoBuffer();
}

bool TextBoxW::Modified() const noexcept {
  return Live() && Edit().Modified();
}

void TextBoxW::SetModified(bool value) const noexcept {
  if (Live()) Edit().SetModified(value);
}

std::wstring TextBoxW::GetLine(int32_t line_number) const {
  if (line_number < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return {};
  const EditView edit = Edit();
  // Line 0 is the caret's line.
  const int index = edit.LineIndex(line_number - 1);
  if (index < 0) throw RunTimeError(kInvalidPropertyValue);
  return edit.Line(line_number == 0 ? edit.LineFromChar(index) : line_number - 1);
}

int32_t TextBoxW::GetLineCount() const noexcept {
  return Live() ? Edit().LineCount() : 0;
}

int32_t TextBoxW::GetLineFromChar(int32_t char_index) const {
  if (char_index < -1) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return 0;
  return Edit().LineFromChar(char_index) + 1;
}

void TextBoxW::ScrollToLine(int32_t line_number) const {
  if (line_number < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Live()) return;
  const EditView edit = Edit();
  if (edit.LineIndex(line_number - 1) < 0) throw RunTimeError(kInvalidPropertyValue);
  edit.LineScroll(line_number - edit.FirstVisibleLine() - 1);
}

void TextBoxW::ScrollToCaret() const noexcept {
  if (Live()) Edit().ScrollCaret();
}

int32_t TextBoxW::CharFromPos(float x, float y) const {
  if (!Live()) return 0;
  const int16_t px = ToInteger16(ScaleX(x, ScaleUnit::kContainerPosition, ScaleUnit::kPixels));
  const int16_t py = ToInteger16(ScaleY(y, ScaleUnit::kContainerPosition, ScaleUnit::kPixels));
  return static_cast<int32_t>(
      CharIndexAt(MAKELPARAM(static_cast<WORD>(px), static_cast<WORD>(py))));
}

DWORD TextBoxW::CharIndexAt(LPARAM client_point) const noexcept {
  const EditView edit = Edit();
  const POINT client{static_cast<int16_t>(LOWORD(client_point)),
                     static_cast<int16_t>(HIWORD(client_point))};
  const EditView::CharPosition position = edit.CharFromPos(client);
  const WORD low = position.index_low;
  if (!multi_line_) {
    // A single-line edit reports its first visible character in full, and the visible part holds
    // far fewer than 32,768 characters: the low 16 bits place the index relative to it.
    const int first = edit.FirstVisibleLine();
    const auto offset = static_cast<int16_t>(static_cast<WORD>(low - static_cast<WORD>(first)));
    return static_cast<DWORD>(std::max(0, first + offset));
  }
  // The line is one of the visible ones, which are far fewer than 32,768: its 16 bits place it
  // relative to the first visible line.
  const int first_line = edit.FirstVisibleLine();
  const int line = std::max(
      0, first_line + static_cast<int16_t>(
                          static_cast<WORD>(position.line_low - static_cast<WORD>(first_line))));
  const int line_start = edit.LineIndex(line);
  if (line_start < 0) return static_cast<DWORD>(edit.GetTextLength());
  const int length = edit.LineLength(line_start);
  const auto offset = static_cast<int>(static_cast<WORD>(low - static_cast<WORD>(line_start)));
  if (length < 0x10000) return static_cast<DWORD>(line_start + std::min(offset, length));
  return static_cast<DWORD>(line_start + OffsetInLongLine(line_start, length, offset, client.x));
}

int TextBoxW::OffsetInLongLine(int line_start, int length, int low_offset, int x) const noexcept {
  // Offsets 65,536 apart share their low 16 bits; they lie at least 65,536 pixels apart, so the
  // text's measured width up to each picks the one under the point.
  const EditView edit = Edit();
  std::wstring text;
  try {
    text = edit.GetText();
  } catch (...) {
    return low_offset;
  }
  if (text.size() < static_cast<size_t>(line_start) + static_cast<size_t>(length)) {
    return low_offset;
  }
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_POS;
  if (!GetScrollInfo(edit.Handle(), SB_HORZ, &scroll)) scroll.nPos = 0;
  const LONG target = x - edit.FormatRect().left + scroll.nPos;
  const HDC dc = GetDC(edit.Handle());
  if (!dc) return low_offset;
  const HGDIOBJ old_font = SelectObject(dc, edit.GetFont());
  int best = low_offset;
  LONG best_distance = LONG_MAX;
  for (int offset = low_offset; offset <= length; offset += 0x10000) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str() + line_start, offset, &extent);
    const LONG distance = std::abs(extent.cx - target);
    if (distance < best_distance) {
      best_distance = distance;
      best = offset;
    }
  }
  SelectObject(dc, old_font);
  ReleaseDC(edit.Handle(), dc);
  return best;
}

float TextBoxW::LeftMargin() const noexcept {
  if (!Live()) return 0;
  return static_cast<float>(
      ScaleX(Edit().LeftMargin(), ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

float TextBoxW::RightMargin() const noexcept {
  if (!Live()) return 0;
  return static_cast<float>(
      ScaleX(Edit().RightMargin(), ScaleUnit::kPixels, ScaleUnit::kContainerSize));
}

void TextBoxW::SetLeftMargin(float value) {
  SetMargin(true, value);
}

void TextBoxW::SetRightMargin(float value) {
  SetMargin(false, value);
}

void TextBoxW::SetMargin(bool left, float value) {
  if (value == -1.0f || value == 65535.0f) {
    if (Live()) Edit().SetMargin(left, EC_USEFONTINFO);
    return;
  }
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  const int16_t pixels = ToInteger16(ScaleX(value, ScaleUnit::kContainerSize, ScaleUnit::kPixels));
  if (!Live()) return;
  Edit().SetMargin(left, static_cast<WORD>(pixels));
}

bool TextBoxW::ShowBalloonTip(std::wstring_view text, std::wstring_view title, int32_t icon) {
  if (!Live() || CommonControlsVersion() < CommonControlsClass::kV60) return false;
  RequireRange(icon, 0, 3);
  if (!Child().HasFocus()) ::SetFocus(hWndUserControl());
  return Edit().ShowBalloonTip(std::wstring(title), std::wstring(text), icon);
}

bool TextBoxW::HideBalloonTip() const noexcept {
  if (!Live() || CommonControlsVersion() < CommonControlsClass::kV60) return false;
  return Edit().HideBalloonTip();
}

}  // namespace veltrin::controls
