// Finds and drives dialogs of the test thread from a helper thread.
#include "dialog_driver.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace veltrin::dialogs::testing {

namespace {

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM data) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

// The timers of CancelWhenShown that have pressed Cancel; one thread runs them all.
thread_local std::vector<UINT_PTR> cancelled_timers;

void CALLBACK CancelShownDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindThreadDialog(GetCurrentThreadId());
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  PressButton(dialog, IDCANCEL);
  cancelled_timers.push_back(timer);
}

}  // namespace

HWND FindThreadDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool SetChildText(HWND dialog, std::initializer_list<int> ids, const std::wstring& text) {
  for (int id : ids) {
    HWND child = GetDlgItem(dialog, id);
    if (child != nullptr) {
      SendMessageW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      return true;
    }
  }
  return false;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogDriver::DialogDriver(std::function<void(HWND)> action) {
  const DWORD owner = GetCurrentThreadId();
  thread_ = std::thread([this, owner, action = std::move(action)] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
      if (HWND dialog = FindThreadDialog(owner)) {
        Sleep(50);  // let the dialog finish its initialisation
        action(dialog);
        ran_ = true;
        return;
      }
      Sleep(20);
    }
  });
}

DialogDriver::~DialogDriver() {
  stop_ = true;
  thread_.join();
}

ActiveOwnerWindow::ActiveOwnerWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                              200, nullptr, nullptr, nullptr, nullptr)) {
  SetActiveWindow(window_);
}

ActiveOwnerWindow::~ActiveOwnerWindow() {
  DestroyWindow(window_);
}

CancelWhenShown::CancelWhenShown()
    : timer_(SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CancelShownDialog)) {}

CancelWhenShown::~CancelWhenShown() {
  KillTimer(nullptr, timer_);
  std::erase(cancelled_timers, timer_);
}

bool CancelWhenShown::Ran() const noexcept {
  return std::find(cancelled_timers.begin(), cancelled_timers.end(), timer_) !=
         cancelled_timers.end();
}

std::function<void(HWND)> PressCancel() {
  return [](HWND dialog) { PressButton(dialog, IDCANCEL); };
}

}  // namespace veltrin::dialogs::testing
