// The form window: creating and destroying it, showing and closing it, and the form-level events
// raised on size, activation, button clicks and WM_CLOSE.
#include "controls/base/host/form.h"

#include <utility>

#include "controls/base/error_report.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/form_window_classes.h"
#include "controls/base/host_thread.h"
#include "controls/base/window/window_procedure.h"

namespace veltrin::controls {

namespace {

void RegisterWindowClasses() {
  RegisterHandlerClass({form_detail::kFormClass, CS_DBLCLKS,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))});
  // The control's BackColor paints the container.
  RegisterHandlerClass({form_detail::kUserControlClass, CS_DBLCLKS, nullptr});
}

}  // namespace

Form::Form(std::wstring caption, int client_width, int client_height)
    : ole_init_(OleInitialize(nullptr)) {
  ClaimHostThread();
  try {
    RegisterWindowClasses();
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    WindowCreation creation{form_detail::kFormClass, std::move(caption),
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    creation.width = frame.right - frame.left;
    creation.height = frame.bottom - frame.top;
    window_ = CreateHandlerWindow(*this, creation);
    frame_ = ComPtr<FormFrame>::Attach(new FormFrame(*this));
    SetFont(std::make_shared<FontObject>());
  } catch (...) {
    window_.Reset();
    if (SUCCEEDED(ole_init_)) OleUninitialize();
    throw;
  }
}

Form::~Form() {
  while (!items_.empty()) DestroyWithPlacedControls(*items_.back());
  if (frame_) frame_->Detach();
  frame_.Reset();
  window_.Reset();
  if (SUCCEEDED(ole_init_)) OleUninitialize();
}

void Form::Show(int command) {
  if (command != SW_HIDE && !loaded_) {
    loaded_ = true;
    Load();
  }
  ShowWindow(hWnd(), command);
}

bool Form::Close(UnloadMode mode) {
  bool cancel = false;
  QueryUnload(cancel, mode);
  if (cancel) return false;
  Unload(cancel);
  if (cancel) return false;
  ShowWindow(hWnd(), SW_HIDE);
  loaded_ = false;
  if (ends_loop_on_close_) PostQuitMessage(0);
  return true;
}

MessageResult Form::OnSize(UINT, int, int) {
  Resize();
  return kNotHandled;
}

MessageResult Form::OnActivate(UINT state, bool minimized, HWND) {
  const bool focus_restored = KeepFocusAcrossActivation(state, minimized);
  if (state == WA_INACTIVE) {
    Deactivate();
  } else {
    Activate();
  }
  if (focus_restored) return 0;  // the default would put the focus on the form itself
  return kNotHandled;            // the default activation (and focus) goes on
}

bool Form::KeepFocusAcrossActivation(UINT state, bool minimized) noexcept {
  if (state == WA_INACTIVE) {
    const HWND focus = GetFocus();
    focus_before_deactivation_ = focus && IsChild(hWnd(), focus) ? focus : nullptr;
    return false;
  }
  const HWND focus = std::exchange(focus_before_deactivation_, nullptr);
  if (minimized || !focus || !IsChild(hWnd(), focus) || !IsWindowEnabled(focus) ||
      !IsWindowVisible(focus)) {
    return false;
  }
  ::SetFocus(focus);
  return true;
}

MessageResult Form::OnCommand(WORD, WORD code, HWND control) {
  if (code != BN_CLICKED) return kNotHandled;
  Extender* item = ItemOfWindow(control);
  if (!item) return kNotHandled;
  item->Events().Raise(&ExtenderEvents::Click);
  return 0;
}

MessageResult Form::OnClose() {
  try {
    Close(UnloadMode::kControlMenu);
  } catch (...) {
    // A failed close handler cancels the close: passed on, WM_CLOSE would destroy the window
    // with the message loop still running.
    ReportCaughtError(L"the form's close handlers");
  }
  return 0;
}

}  // namespace veltrin::controls
