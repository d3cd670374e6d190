// Keyboard navigation for modeless dialogs that the host's message loop does not know: while any
// is registered, a thread message hook offers each keyboard message to them first.
#pragma once

#include <windows.h>

#include <vector>

#include "common/unique_handle.h"

namespace veltrin::controls {

struct HookTraits {
  using Handle = HHOOK;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle hook) noexcept { UnhookWindowsHookEx(hook); }
};

// An installed hook, removed with UnhookWindowsHookEx.
using UniqueHook = UniqueHandle<HookTraits>;

// Adds `dialog` to the end of the list; the first registration installs the message hook for the
// host's user-interface thread. A failed installation leaves the dialogs without navigation.
void RegisterModelessDialog(HWND dialog);

// Removes `dialog` from the list, keeping the others in order; the unregistration that leaves none
// removes the hook. Every call counts one dialog off (an unknown handle takes the last entry's
// place), and a call with nothing registered does nothing.
void UnregisterModelessDialog(HWND dialog) noexcept;

// Returns the registered dialogs in registration order.
std::vector<HWND> RegisteredModelessDialogs();

// Returns the installed hook, or null while no dialog is registered.
HHOOK ModelessDialogHook() noexcept;

// The WH_GETMESSAGE hook: a keyboard message being removed from the queue that a registered dialog
// takes (IsDialogMessageW) is blanked to a null message. Always returns the next hook's result.
LRESULT CALLBACK ModelessDialogHookProc(int code, WPARAM w_param, LPARAM l_param) noexcept;

}  // namespace veltrin::controls
