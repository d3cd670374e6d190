// The EditView's messages.
#include "controls/base/window/edit_view.h"

#include <commctrl.h>

#include <algorithm>

namespace veltrin::controls {
namespace {

constexpr WPARAM Param(int value) noexcept {
  return static_cast<WPARAM>(static_cast<INT_PTR>(value));
}

}  // namespace

EditView::Selection EditView::GetSel() const noexcept {
  Selection selection;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
       reinterpret_cast<LPARAM>(&selection.end));
  return selection;
}

void EditView::SetSel(DWORD start, DWORD end) const noexcept {
  Send(EM_SETSEL, start, static_cast<LPARAM>(end));
}

void EditView::ReplaceSel(const std::wstring& text, bool can_undo) const noexcept {
  Send(EM_REPLACESEL, can_undo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void EditView::ScrollCaret() const noexcept {
  Send(EM_SCROLLCARET);
}

int EditView::LineCount() const noexcept {
  return static_cast<int>(Send(EM_GETLINECOUNT));
}

int EditView::LineFromChar(int index) const noexcept {
  return static_cast<int>(Send(EM_LINEFROMCHAR, Param(index)));
}

int EditView::LineIndex(int line) const noexcept {
  return static_cast<int>(Send(EM_LINEINDEX, Param(line)));
}

int EditView::LineLength(int index) const noexcept {
  return static_cast<int>(Send(EM_LINELENGTH, Param(index)));
}

int EditView::FirstVisibleLine() const noexcept {
  return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE));
}

void EditView::LineScroll(int lines, int characters) const noexcept {
  Send(EM_LINESCROLL, Param(characters), static_cast<LPARAM>(lines));
}

std::wstring EditView::Line(int line) const {
  const int start = LineIndex(line);
  if (start < 0) return {};
  const int length = std::min(LineLength(start), 0xFFFF);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text[0] = static_cast<wchar_t>(length);  // EM_GETLINE reads the buffer's size from its first unit
  const LRESULT copied = Send(EM_GETLINE, Param(line), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

EditView::CharPosition EditView::CharFromPos(POINT client) const noexcept {
  const LRESULT packed = Send(EM_CHARFROMPOS, 0,
                              MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(client.x)),
                                         static_cast<WORD>(static_cast<int16_t>(client.y))));
  return {LOWORD(packed), HIWORD(packed)};
}

std::optional<POINT> EditView::PosFromChar(DWORD index) const noexcept {
  const LRESULT packed = Send(EM_POSFROMCHAR, index);
  // The failure answer, -1, however a 64-bit edit extends it.
  if (static_cast<int32_t>(packed) == -1) return std::nullopt;
  return POINT{static_cast<int16_t>(LOWORD(packed)), static_cast<int16_t>(HIWORD(packed))};
}

RECT EditView::FormatRect() const noexcept {
  RECT format{};
  Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

void EditView::Copy() const noexcept {
  Send(WM_COPY);
}

void EditView::Cut() const noexcept {
  Send(WM_CUT);
}

void EditView::Paste() const noexcept {
  Send(WM_PASTE);
}

void EditView::Clear() const noexcept {
  Send(WM_CLEAR);
}

void EditView::LimitText(size_t limit) const noexcept {
  Send(EM_LIMITTEXT, static_cast<WPARAM>(limit));
}

void EditView::SetReadOnly(bool read_only) const noexcept {
  Send(EM_SETREADONLY, read_only ? TRUE : FALSE);
}

wchar_t EditView::PasswordChar() const noexcept {
  return static_cast<wchar_t>(Send(EM_GETPASSWORDCHAR));
}

void EditView::SetPasswordChar(wchar_t code) const noexcept {
  Send(EM_SETPASSWORDCHAR, code);
}

bool EditView::CanUndo() const noexcept {
  return Send(EM_CANUNDO) != 0;
}

void EditView::Undo() const noexcept {
  Send(EM_UNDO);
}

void EditView::EmptyUndoBuffer() const noexcept {
  Send(EM_EMPTYUNDOBUFFER);
}

bool EditView::Modified() const noexcept {
  return Send(EM_GETMODIFY) != 0;
}

void EditView::SetModified(bool modified) const noexcept {
  Send(EM_SETMODIFY, modified ? TRUE : FALSE);
}

int EditView::LeftMargin() const noexcept {
  return static_cast<int16_t>(LOWORD(Send(EM_GETMARGINS)));
}

int EditView::RightMargin() const noexcept {
  return static_cast<int16_t>(HIWORD(Send(EM_GETMARGINS)));
}

void EditView::SetMargin(bool left, WORD pixels) const noexcept {
  Send(EM_SETMARGINS, left ? EC_LEFTMARGIN : EC_RIGHTMARGIN,
       left ? MAKELPARAM(pixels, 0) : MAKELPARAM(0, pixels));
}

bool EditView::SetCueBanner(const std::wstring& text) const noexcept {
  return Send(EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

bool EditView::ShowBalloonTip(const std::wstring& title, const std::wstring& text,
                              int icon) const noexcept {
  EDITBALLOONTIP tip{};
  tip.cbStruct = sizeof(tip);
  tip.pszTitle = title.c_str();
  tip.pszText = text.c_str();
  tip.ttiIcon = icon;
  return Send(EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)) != 0;
}

bool EditView::HideBalloonTip() const noexcept {
  return Send(EM_HIDEBALLOONTIP) != 0;
}

}  // namespace veltrin::controls
