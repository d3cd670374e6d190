// The hook procedures of the common dialogs: each hands its dialog's messages to the ISubclass
// receiver named by the dialog record's custom data, with the dialog kind's negative reference
// number, and never lets an error escape.
#pragma once

#include <windows.h>

#include "controls/base/subclass.h"

namespace veltrin::controls {

// Reference numbers the hooks pass as the refData of ISubclass::Message.
enum DialogHookRef : LONG_PTR {
  kHookOpen = -1,
  kHookSave = -2,
  kHookColor = -3,
  kHookFont = -4,
  kHookPrint = -5,
  kHookPageSetup = -7,
  kHookFolderBrowser = -8,
  kHookFind = -9,
  kHookReplace = -10,
  kHookOpenOldStyle = -1001,
  kHookSaveOldStyle = -1002,
};

// Forward every message (the receiver is kept as a dialog property from WM_INITDIALOG on) and
// return the receiver's result; 0 while no receiver is known.
UINT_PTR CALLBACK OpenHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
UINT_PTR CALLBACK OpenOldStyleHookProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
UINT_PTR CALLBACK SaveHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
UINT_PTR CALLBACK SaveOldStyleHookProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
UINT_PTR CALLBACK ColorHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
UINT_PTR CALLBACK FontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Forward WM_INITDIALOG only: print and setup (-5) and page setup (-7) return the receiver's
// result, find (-9) and replace (-10) return 1; every other message returns 0 at once.
UINT_PTR CALLBACK PrintHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
UINT_PTR CALLBACK PageSetupHookProc(HWND dialog, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
UINT_PTR CALLBACK FindHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
UINT_PTR CALLBACK ReplaceHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The folder browser callback: every message goes to the receiver in `data` (-8), with the
// callback's lParam as lParam and wParam 0.
int CALLBACK FolderBrowserCallbackProc(HWND dialog, UINT message, LPARAM lParam,
                                       LPARAM data) noexcept;

// Calls the receiver's Message with the signed reference number; an error gives 0.
LRESULT DeliverToReceiver(ISubclass* receiver, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam, LONG_PTR refNumber) noexcept;

}  // namespace veltrin::controls
