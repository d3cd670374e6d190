// The handlers of the dialog kinds' hooks. The typed hook procedure (controls::DialogHookProc)
// finds a handler in the dialog record's lCustData at WM_INITDIALOG and hands it every message of
// the dialog from then on; each handler raises its kind's events on the CommonDialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "controls/base/window/message_handler.h"
#include "controls/base/window/window_procedure.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_internal.h"

namespace veltrin::dialogs {

// What every hook handler shares: the raw message goes to OnHook (hook messages include
// registered numbers and the folder browser's BFFM_* codes, which no typed handler knows), an
// error answers 0, and the CommonDialog stays alive while a message is handled.
class DialogHook : public controls::MessageHandler {
 public:
  // Public for the kinds that inherit it; the class itself is abstract.
  DialogHook(CommonDialog& dialog, DialogAction action) noexcept
      : dialog_(dialog), action_(action) {}

  using HookProcedure = UINT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

  // Names this handler in `record` and returns the hook procedure to put beside it.
  template <typename Record>
  HookProcedure HookFor(Record& record) noexcept {
    record.lCustData = reinterpret_cast<LPARAM>(static_cast<controls::MessageHandler*>(this));
    return controls::DialogHookProc<Record>;
  }

  // Hands a message to `hook` from a callback that is no hook procedure (the folder browser's,
  // the extended print dialog's object); returns its answer, 0 after an error.
  static LRESULT Deliver(controls::MessageHandler& hook, HWND dialog, UINT message, WPARAM w_param,
                         LPARAM l_param) noexcept;

 protected:
  ~DialogHook() override = default;

  // Answers one message of `window`, the hooked dialog.
  virtual LRESULT OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param) = 0;

  // Runs `raise` on the event sink, if there is one, and gives the focus back if it moved.
  template <typename Raise>
  void RaiseEvent(Raise raise) {
    dialog_.RaiseKeepingFocus([&] {
      if (dialog_.events_) raise(*dialog_.events_);
    });
  }
  void RaiseInitDialog(HWND window) {
    RaiseEvent([&](CommonDialogEvents& events) { events.InitDialog(action_, window); });
  }

  CommonDialog& dialog_;
  const DialogAction action_;  // the dialog kind, as the events name it

 private:
  controls::CallGuarded& KeepAliveObject() noexcept override { return dialog_; }
  controls::MessageResult OnMessage(UINT message, WPARAM w_param, LPARAM l_param) final {
    return OnHook(MessageWindow(), message, w_param, l_param);
  }
};

// The kinds whose handler needs nothing but the dialog; each kind's file defines its OnHook.
template <DialogAction kKind>
class KindHook final : public DialogHook {
 public:
  explicit KindHook(CommonDialog& dialog) noexcept : DialogHook(dialog, kKind) {}

 private:
  LRESULT OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param) override;
};

// The colour dialog: InitDialog, and ColorValidate at colour-OK.
using ColorHook = KindHook<kActionColor>;
template <>
LRESULT ColorHook::OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

// The font dialog: InitDialog, and FontApply at the Apply button.
using FontHook = KindHook<kActionFont>;
template <>
LRESULT FontHook::OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

// The folder browser: its callback's BFFM_* codes, with the callback's lParam.
using FolderBrowserHook = KindHook<kActionFolderBrowser>;
template <>
LRESULT FolderBrowserHook::OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

// Open and save, Explorer style (notifications) or old style (registered messages).
class FileHook final : public DialogHook {
 public:
  FileHook(CommonDialog& dialog, DialogAction action, bool explorer) noexcept
      : DialogHook(dialog, action), explorer_(explorer) {}

 private:
  LRESULT OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param) override;
  LRESULT OnOldStyle(HWND window, UINT message, LPARAM l_param);
  // Raises FileValidate for what `record` holds; returns the handler's cancel.
  bool RaiseValidate(HWND window, const OPENFILENAMEW& record);
  // Raises FileShareViolation for `name`; returns the handler's result.
  int32_t RaiseShareViolation(HWND window, const wchar_t* name);

  bool explorer_;
};

// The dialogs whose hook raises InitDialog only: print and print setup, page setup, find and
// replace. WM_INITDIALOG answers 1 for find and replace (the dialog sets its own focus), 0 for
// the others; every other message answers 0.
class InitDialogHook final : public DialogHook {
 public:
  using DialogHook::DialogHook;

 private:
  LRESULT OnHook(HWND window, UINT message, WPARAM w_param, LPARAM l_param) override;
};

}  // namespace veltrin::dialogs
