// A typed view over a native EDIT: each method sends one EM_* message and returns what it means.
// Indexes are UTF-16 code units; lines count from 0.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "controls/base/window/window.h"

namespace veltrin::controls {

class EditView : public Window {
 public:
  // The selection, start <= end.
  struct Selection {
    DWORD start = 0;
    DWORD end = 0;
  };

  constexpr EditView() noexcept = default;
  constexpr explicit EditView(HWND edit) noexcept : Window(edit) {}

  // Selection and caret.
  Selection GetSel() const noexcept;
  void SetSel(DWORD start, DWORD end) const noexcept;
  void ReplaceSel(const std::wstring& text, bool can_undo = true) const noexcept;
  void ScrollCaret() const noexcept;

  // Lines. LineIndex(-1) is the caret's line; -1 when the line does not exist.
  int LineCount() const noexcept;
  int LineFromChar(int index) const noexcept;
  int LineIndex(int line) const noexcept;
  int LineLength(int index) const noexcept;
  int FirstVisibleLine() const noexcept;
  void LineScroll(int lines, int characters = 0) const noexcept;
  // The line's text (at most 65,535 units, which is what EM_GETLINE can copy).
  std::wstring Line(int line) const;

  // The character nearest a client point as EM_CHARFROMPOS answers it: only the low 16 bits of
  // its index and of its line, which the caller places against what it knows (first visible
  // line, line start).
  struct CharPosition {
    WORD index_low = 0;
    WORD line_low = 0;
  };
  CharPosition CharFromPos(POINT client) const noexcept;
  // The client point of a character; nothing for one past the end of the text.
  std::optional<POINT> PosFromChar(DWORD index) const noexcept;
  // The formatting rectangle the text is laid out in, in client pixels.
  RECT FormatRect() const noexcept;

  // Clipboard and deletion of the selection (WM_COPY, WM_CUT, WM_PASTE, WM_CLEAR).
  void Copy() const noexcept;
  void Cut() const noexcept;
  void Paste() const noexcept;
  void Clear() const noexcept;

  // Editing state.
  void LimitText(size_t limit) const noexcept;
  void SetReadOnly(bool read_only) const noexcept;
  wchar_t PasswordChar() const noexcept;
  void SetPasswordChar(wchar_t code) const noexcept;
  bool CanUndo() const noexcept;
  void Undo() const noexcept;
  void EmptyUndoBuffer() const noexcept;
  bool Modified() const noexcept;
  void SetModified(bool modified) const noexcept;

  // Margins in pixels (EC_USEFONTINFO asks for the font-based one).
  int LeftMargin() const noexcept;
  int RightMargin() const noexcept;
  void SetMargin(bool left, WORD pixels) const noexcept;

  // Common controls 6: the cue banner and balloon tips; false where the edit lacks them.
  bool SetCueBanner(const std::wstring& text) const noexcept;
  bool ShowBalloonTip(const std::wstring& title, const std::wstring& text, int icon) const noexcept;
  bool HideBalloonTip() const noexcept;
};

}  // namespace veltrin::controls
