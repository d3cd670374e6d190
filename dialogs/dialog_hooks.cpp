// The shared part of the dialog kinds' hook handlers.
#include "dialogs/dialog_hooks.h"

#include "controls/base/error_report.h"
#include "dialogs/dialog_internal.h"

namespace veltrin::dialogs {
namespace {

LRESULT AnswerZero(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

}  // namespace

LRESULT DialogHook::Deliver(controls::MessageHandler& hook, HWND dialog, UINT message,
                            WPARAM w_param, LPARAM l_param) noexcept {
  return hook.HandleMessage(dialog, message, w_param, l_param, AnswerZero);
}

LRESULT InitDialogHook::OnHook(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return 0;
  try {
    RaiseInitDialog(window);
  } catch (...) {
    // The dialog keeps its answer whatever the handler did.
    controls::ReportCaughtError(L"a dialog hook");
  }
  return action_ == kActionFind || action_ == kActionReplace ? 1 : 0;
}

}  // namespace veltrin::dialogs
