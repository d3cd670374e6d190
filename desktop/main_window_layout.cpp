// The main window at any size: the controls follow the window, which never gets smaller than its
// layout; and Enter in the address box runs "提取" (the button is the default while the box has
// the focus).
#include "desktop/main_window.h"
#include "desktop/resized_layout.h"

namespace veltrin::window {

void MainWindow::Resize() {
  ArrangeControls();
  Form::Resize();
}

void MainWindow::ArrangeControls() noexcept {
  RECT client{};
  if (!GetClientRect(hWnd(), &client) || IsIconic(hWnd())) return;
  const SIZE size{client.right, client.bottom};
  for (const ControlLayout& layout : kLayout) {
    const controls::Extender* control = Find(layout.name);
    if (!control) continue;  // called while the controls are being created
    const RECT bounds = ResizedBounds(layout, size);
    SetWindowPos(control->hWnd(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::ApplyMinimumSize(MINMAXINFO& limits) const noexcept {
  const SIZE minimum =
      MinimumWindowSize(static_cast<DWORD>(GetWindowLongPtrW(hWnd(), GWL_STYLE)),
                        static_cast<DWORD>(GetWindowLongPtrW(hWnd(), GWL_EXSTYLE)));
  limits.ptMinTrackSize = POINT{minimum.cx, minimum.cy};
}

controls::MessageResult MainWindow::OnCommand(WORD id, WORD code, HWND control) {
  const controls::Extender* address = Find(L"Text1");
  if (control && address && control == address->hWnd()) {
    if (code == EN_SETFOCUS) SetDefaultButton(Find(L"Command1"));
    if (code == EN_KILLFOCUS) SetDefaultButton(nullptr);
  }
  return Form::OnCommand(id, code, control);
}

}  // namespace veltrin::window
