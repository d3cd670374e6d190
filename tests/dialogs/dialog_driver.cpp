// Finds and drives dialogs of the test thread from a helper thread.
#include "dialog_driver.h"

#include <chrono>

namespace veltrin::dialogs::testing {

HWND FindThreadDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
          *reinterpret_cast<HWND*>(data) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
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

std::function<void(HWND)> PressCancel() {
  return [](HWND dialog) { PressButton(dialog, IDCANCEL); };
}

}  // namespace veltrin::dialogs::testing
