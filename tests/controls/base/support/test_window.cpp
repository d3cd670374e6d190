// The probe window class and the message pump.
#include "base/support/test_window.h"

namespace veltrin::controls::testing {
namespace {

constexpr wchar_t kClassName[] = L"VeltrinBaseTestWindow";

void RegisterProbeClass(WNDPROC procedure) {
  static const bool kRegistered = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)kRegistered;
}

}  // namespace

TestWindow::TestWindow(HWND parent, DWORD style, DWORD ex_style) {
  RegisterProbeClass(Procedure);
  const DWORD kind = parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
  window_ = CreateWindowExW(ex_style, kClassName, L"test", kind | style, 0, 0, 200, 120, parent,
                            nullptr, GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

int TestWindow::BaseCount(UINT message) const {
  const auto found = base_counts_.find(message);
  return found == base_counts_.end() ? 0 : found->second;
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l_param);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
    ++self->base_counts_[message];
  }
  if (message == kProbeMessage) return kProbeResult;
  return DefWindowProcW(window, message, w_param, l_param);
}

// Timers can refill a queue as fast as it empties, so the loops stop after this many messages.
constexpr int kMaxMessages = 10000;

void PumpMessages() {
  MSG message;
  for (int i = 0; i < kMaxMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void DiscardMessages(HWND window) {
  MSG message;
  for (int i = 0; i < kMaxMessages && PeekMessageW(&message, window, 0, 0, PM_REMOVE); ++i) {
  }
}

}  // namespace veltrin::controls::testing
