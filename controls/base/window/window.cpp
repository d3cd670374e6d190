// The Window view's calls, each one message or one user32 function.
#include "controls/base/window/window.h"

#include <algorithm>

#include "controls/base/window_class.h"

namespace veltrin::controls {
namespace {

constexpr UINT kFrameChanged =
    SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

LRESULT Window::Send(UINT message, WPARAM w_param, LPARAM l_param) const noexcept {
  return window_ ? SendMessageW(window_, message, w_param, l_param) : 0;
}

bool Window::Post(UINT message, WPARAM w_param, LPARAM l_param) const noexcept {
  return window_ && PostMessageW(window_, message, w_param, l_param) != FALSE;
}

std::wstring Window::GetText() const {
  const int length = GetTextLength();
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring Window::GetTextPrefix(size_t count) const {
  std::wstring text(count + 1, L'\0');
  const LRESULT copied = window_ ? SendMessageW(window_, WM_GETTEXT, text.size(),
                                                reinterpret_cast<LPARAM>(text.data()))
                                 : 0;
  text.resize(std::min(static_cast<size_t>(copied > 0 ? copied : 0), count));
  return text;
}

int Window::GetTextLength() const noexcept {
  return window_ ? static_cast<int>(SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

bool Window::SetText(std::wstring_view text) const {
  if (!window_) return false;
  const std::wstring terminated(text);
  return SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str())) != 0;
}

bool Window::Show(int command) const noexcept {
  return ShowWindow(window_, command) != FALSE;
}

bool Window::IsVisible() const noexcept {
  return IsWindowVisible(window_) != FALSE;
}

bool Window::Move(const RECT& bounds, bool repaint) const noexcept {
  return MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, repaint ? TRUE : FALSE) != FALSE;
}

bool Window::SetPosition(HWND insert_after, const RECT& bounds, UINT flags) const noexcept {
  return SetWindowPos(window_, insert_after, bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top, flags) != FALSE;
}

RECT Window::GetClientRect() const noexcept {
  RECT client{};
  if (window_) ::GetClientRect(window_, &client);
  return client;
}

RECT Window::GetWindowRect() const noexcept {
  RECT bounds{};
  if (window_) ::GetWindowRect(window_, &bounds);
  return bounds;
}

RECT Window::BoundsInParent() const noexcept {
  RECT bounds = GetWindowRect();
  if (const HWND parent = GetParent(window_)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  }
  return bounds;
}

bool Window::Invalidate(bool erase) const noexcept {
  return InvalidateRect(window_, nullptr, erase ? TRUE : FALSE) != FALSE;
}

bool Window::Update() const noexcept {
  return UpdateWindow(window_) != FALSE;
}

void Window::SetRedraw(bool redraw) const noexcept {
  Send(WM_SETREDRAW, redraw ? TRUE : FALSE);
}

void Window::Scroll(int bar, WORD code, int position) const noexcept {
  Send(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)));
}

void Window::UpdateUiState(WORD action, WORD flags) const noexcept {
  Send(WM_UPDATEUISTATE, MAKEWPARAM(action, flags));
}

void Window::SetFont(HFONT font, bool redraw) const noexcept {
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HFONT Window::GetFont() const noexcept {
  return reinterpret_cast<HFONT>(Send(WM_GETFONT));
}

bool Window::Enable(bool enable) const noexcept {
  return EnableWindow(window_, enable ? TRUE : FALSE) != FALSE;
}

bool Window::IsEnabled() const noexcept {
  return IsWindowEnabled(window_) != FALSE;
}

HWND Window::Focus() const noexcept {
  return SetFocus(window_);
}

bool Window::HasFocus() const noexcept {
  return window_ && GetFocus() == window_;
}

bool Window::Destroy() const noexcept {
  return window_ && IsWindow(window_) && DestroyWindow(window_) != FALSE;
}

DWORD Window::Style() const noexcept {
  return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
}

DWORD Window::ExStyle() const noexcept {
  return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
}

void Window::SetStyle(DWORD style) const noexcept {
  SetWindowLongPtrW(window_, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void Window::SetExStyle(DWORD ex_style) const noexcept {
  SetWindowLongPtrW(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(ex_style));
}

bool Window::ModifyStyle(DWORD remove, DWORD add) const noexcept {
  return ModifyLong(GWL_STYLE, remove, add);
}

bool Window::ModifyExStyle(DWORD remove, DWORD add) const noexcept {
  return ModifyLong(GWL_EXSTYLE, remove, add);
}

bool Window::ModifyLong(int index, DWORD remove, DWORD add) const noexcept {
  const auto old_value = static_cast<DWORD>(GetWindowLongPtrW(window_, index));
  const DWORD new_value = (old_value & ~remove) | add;
  if (new_value == old_value) return false;
  SetWindowLongPtrW(window_, index, static_cast<LONG_PTR>(new_value));
  SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChanged);
  return true;
}

std::wstring Window::ClassName() const {
  return WindowClassName(window_);
}

}  // namespace veltrin::controls
