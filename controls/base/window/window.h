// A non-owning view over a window handle whose methods name the message or call they make, so
// that code reads as what it does to the window rather than as raw SendMessageW traffic.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace veltrin::controls {

class Window {
 public:
  constexpr Window() noexcept = default;
  constexpr explicit Window(HWND window) noexcept : window_(window) {}

  HWND Handle() const noexcept { return window_; }
  // Says whether the view holds a handle (not whether the window still exists; see Exists).
  explicit operator bool() const noexcept { return window_ != nullptr; }
  bool Exists() const noexcept { return window_ && IsWindow(window_); }
  friend bool operator==(Window a, Window b) noexcept { return a.window_ == b.window_; }

  // Messages.
  LRESULT Send(UINT message, WPARAM w_param = 0, LPARAM l_param = 0) const noexcept;
  // Posts to the window's queue; false when the post failed (for example a destroyed window).
  bool Post(UINT message, WPARAM w_param = 0, LPARAM l_param = 0) const noexcept;

  // Text (WM_GETTEXT / WM_SETTEXT). GetText returns an empty string for a null window.
  std::wstring GetText() const;
  // The first `count` units of the text (fewer when it is shorter), without copying the rest.
  std::wstring GetTextPrefix(size_t count) const;
  int GetTextLength() const noexcept;
  bool SetText(std::wstring_view text) const;

  // Visibility, position and size; rectangles of a child are in its parent's client pixels.
  bool Show(int command = SW_SHOW) const noexcept;
  bool IsVisible() const noexcept;
  bool Move(const RECT& bounds, bool repaint = true) const noexcept;
  bool SetPosition(HWND insert_after, const RECT& bounds, UINT flags) const noexcept;
  RECT GetClientRect() const noexcept;
  RECT GetWindowRect() const noexcept;
  RECT BoundsInParent() const noexcept;
  bool Invalidate(bool erase = true) const noexcept;
  bool Update() const noexcept;
  // Turns drawing off or back on (WM_SETREDRAW); turning it on repaints nothing by itself.
  void SetRedraw(bool redraw) const noexcept;
  // Scrolls as the window's own scroll bar would: WM_HSCROLL for SB_HORZ, WM_VSCROLL for SB_VERT,
  // with an SB_* code and the position that SB_THUMBPOSITION and SB_THUMBTRACK carry.
  void Scroll(int bar, WORD code, int position = 0) const noexcept;
  // Changes the focus and accelerator cues (WM_UPDATEUISTATE: UIS_* action, UISF_* flags).
  void UpdateUiState(WORD action, WORD flags) const noexcept;

  // Font (WM_SETFONT / WM_GETFONT); the window does not own the font.
  void SetFont(HFONT font, bool redraw = true) const noexcept;
  HFONT GetFont() const noexcept;

  // State.
  bool Enable(bool enable = true) const noexcept;
  bool IsEnabled() const noexcept;
  // Gives the window the keyboard focus; returns the window that had it.
  HWND Focus() const noexcept;
  bool HasFocus() const noexcept;
  bool Destroy() const noexcept;

  // Styles: Style/ExStyle read GWL_STYLE/GWL_EXSTYLE; ModifyStyle removes then adds bits and
  // returns true when the style changed (the frame is refreshed for a changed border).
  DWORD Style() const noexcept;
  DWORD ExStyle() const noexcept;
  void SetStyle(DWORD style) const noexcept;
  void SetExStyle(DWORD ex_style) const noexcept;
  bool ModifyStyle(DWORD remove, DWORD add) const noexcept;
  bool ModifyExStyle(DWORD remove, DWORD add) const noexcept;

  // Relations.
  Window Parent() const noexcept { return Window(GetParent(window_)); }
  Window Child(int id) const noexcept { return Window(GetDlgItem(window_, id)); }
  int ControlId() const noexcept { return GetDlgCtrlID(window_); }
  bool IsChildOf(HWND parent) const noexcept { return parent && IsChild(parent, window_); }
  std::wstring ClassName() const;

 private:
  bool ModifyLong(int index, DWORD remove, DWORD add) const noexcept;

  HWND window_ = nullptr;  // not owned
};

}  // namespace veltrin::controls
