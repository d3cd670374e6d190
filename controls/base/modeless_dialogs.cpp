// The modeless dialog list and its message hook (user-interface thread only, so no lock).
#include "controls/base/modeless_dialogs.h"

#include <algorithm>

#include "controls/base/host_thread.h"

namespace veltrin::controls {
namespace {

struct ModelessState {
  std::vector<HWND> dialogs;  // in registration order
  size_t count = 0;           // registrations not yet undone
  UniqueHook hook;            // installed while count > 0
};

ModelessState& State() {
  static ModelessState state;
  return state;
}

bool IsKeyboardMessage(UINT message) noexcept {
  return message >= WM_KEYDOWN && message <= 0x108;  // through the old WM_KEYLAST
}

}  // namespace

void RegisterModelessDialog(HWND dialog) {
  ModelessState& state = State();
  if (state.dialogs.empty() && !state.hook) {
    state.hook.Reset(
        SetWindowsHookExW(WH_GETMESSAGE, ModelessDialogHookProc, nullptr, HostThreadId()));
    state.dialogs.assign(1, dialog);
  } else {
    state.dialogs.push_back(dialog);
  }
  ++state.count;
}

void UnregisterModelessDialog(HWND dialog) noexcept {
  ModelessState& state = State();
  if (state.count == 0) return;
  --state.count;
  if (state.count == 0) {
    state.hook.Reset();
    state.dialogs.clear();
    return;
  }
  const auto found = std::find(state.dialogs.begin(), state.dialogs.end(), dialog);
  if (found != state.dialogs.end()) state.dialogs.erase(found);
  // Keep the list as long as the count, whatever was asked to be removed.
  if (state.dialogs.size() > state.count) state.dialogs.resize(state.count);
}

std::vector<HWND> RegisteredModelessDialogs() {
  return State().dialogs;
}

HHOOK ModelessDialogHook() noexcept {
  return State().hook.Get();
}

LRESULT CALLBACK ModelessDialogHookProc(int code, WPARAM w_param, LPARAM l_param) noexcept {
  ModelessState& state = State();
  if (code >= 0 && w_param == PM_REMOVE) {
    auto* message = reinterpret_cast<MSG*>(l_param);
    if (IsKeyboardMessage(message->message)) {
      // By index: a dialog may unregister itself (or another) while it handles the key.
      for (size_t i = 0; i < state.dialogs.size(); ++i) {
        if (IsDialogMessageW(state.dialogs[i], message)) {
          message->message = 0;
          message->wParam = 0;
          message->lParam = 0;
          break;
        }
      }
    }
  }
  return CallNextHookEx(state.hook.Get(), code, w_param, l_param);
}

}  // namespace veltrin::controls
