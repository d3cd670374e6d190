// Hook procedures of the common dialogs: receiver lookup and forwarding by dialog kind.
#include "controls/base/common_dialog_hooks.h"

#include <commdlg.h>
#include <shlobj.h>

#include "controls/base/error_report.h"

namespace veltrin::controls {
namespace {

// Forwards every message; the receiver travels from the WM_INITDIALOG record to a dialog property
// that the dialog's destruction removes again.
template <typename Record>
UINT_PTR ForwardEverything(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                           const wchar_t* property, LONG_PTR refNumber) noexcept {
  ISubclass* receiver = nullptr;
  if (message == WM_INITDIALOG) {
    if (lParam != 0) {
      receiver = reinterpret_cast<ISubclass*>(reinterpret_cast<const Record*>(lParam)->lCustData);
    }
    SetPropW(dialog, property, receiver);
  } else {
    receiver = static_cast<ISubclass*>(GetPropW(dialog, property));
  }
  if (receiver == nullptr) return 0;
  const LRESULT result = DeliverToReceiver(receiver, dialog, message, wParam, lParam, refNumber);
  if (message == WM_DESTROY) RemovePropW(dialog, property);
  return static_cast<UINT_PTR>(result);
}

// Forwards WM_INITDIALOG only.
template <typename Record>
LRESULT ForwardInitDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                          LONG_PTR refNumber) noexcept {
  if (message != WM_INITDIALOG || lParam == 0) return 0;
  auto* receiver = reinterpret_cast<ISubclass*>(reinterpret_cast<const Record*>(lParam)->lCustData);
  if (receiver == nullptr) return 0;
  return DeliverToReceiver(receiver, dialog, message, wParam, lParam, refNumber);
}

}  // namespace

LRESULT DeliverToReceiver(ISubclass* receiver, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam, LONG_PTR refNumber) noexcept {
  try {
    return receiver->Message(window, message, wParam, lParam, RefData(refNumber));
  } catch (...) {
    ReportCaughtError(L"a dialog hook");
    return 0;
  }
}

UINT_PTR CALLBACK OpenHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return ForwardEverything<OPENFILENAMEW>(dialog, message, wParam, lParam,
                                          L"ComCtlsCdlOFN1CallbackProcCustData", kHookOpen);
}

UINT_PTR CALLBACK OpenOldStyleHookProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  return ForwardEverything<OPENFILENAMEW>(dialog, message, wParam, lParam,
                                          L"ComCtlsCdlOFN1CallbackProcOldStyleCustData",
                                          kHookOpenOldStyle);
}

UINT_PTR CALLBACK SaveHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return ForwardEverything<OPENFILENAMEW>(dialog, message, wParam, lParam,
                                          L"ComCtlsCdlOFN2CallbackProcCustData", kHookSave);
}

UINT_PTR CALLBACK SaveOldStyleHookProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  return ForwardEverything<OPENFILENAMEW>(dialog, message, wParam, lParam,
                                          L"ComCtlsCdlOFN2CallbackProcOldStyleCustData",
                                          kHookSaveOldStyle);
}

UINT_PTR CALLBACK ColorHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return ForwardEverything<CHOOSECOLORW>(dialog, message, wParam, lParam,
                                         L"ComCtlsCdlCCCallbackProcCustData", kHookColor);
}

UINT_PTR CALLBACK FontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return ForwardEverything<CHOOSEFONTW>(dialog, message, wParam, lParam,
                                        L"ComCtlsCdlCFCallbackProcCustData", kHookFont);
}

UINT_PTR CALLBACK PrintHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return static_cast<UINT_PTR>(
      ForwardInitDialog<PRINTDLGW>(dialog, message, wParam, lParam, kHookPrint));
}

UINT_PTR CALLBACK PageSetupHookProc(HWND dialog, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
  return static_cast<UINT_PTR>(
      ForwardInitDialog<PAGESETUPDLGW>(dialog, message, wParam, lParam, kHookPageSetup));
}

UINT_PTR CALLBACK FindHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_INITDIALOG) return 0;
  ForwardInitDialog<FINDREPLACEW>(dialog, message, wParam, lParam, kHookFind);
  return 1;
}

UINT_PTR CALLBACK ReplaceHookProc(HWND dialog, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  if (message != WM_INITDIALOG) return 0;
  ForwardInitDialog<FINDREPLACEW>(dialog, message, wParam, lParam, kHookReplace);
  return 1;
}

int CALLBACK FolderBrowserCallbackProc(HWND dialog, UINT message, LPARAM lParam,
                                       LPARAM data) noexcept {
  auto* receiver = reinterpret_cast<ISubclass*>(data);
  if (receiver == nullptr) return 0;
  return static_cast<int>(
      DeliverToReceiver(receiver, dialog, message, 0, lParam, kHookFolderBrowser));
}

}  // namespace veltrin::controls
