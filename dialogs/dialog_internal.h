// What the CommonDialog's dialog kinds share inside the library: raising an event without losing
// the focus, and the owner subclass that turns a dialog's Help button into the Help event.
#pragma once

#include <windows.h>

#include <string>

#include "controls/base/subclass.h"
#include "dialogs/common_dialog.h"

namespace veltrin::dialogs {

// Subclasses the owner under "commdlg_help_<n>" for Help while a modal dialog runs; removes it on
// every path.
class HelpSubclassScope {
 public:
  HelpSubclassScope(HWND owner, controls::ISubclass* receiver, DialogAction action)
      : owner_(owner), key_(L"commdlg_help_" + std::to_wstring(action)) {
    controls::SubclassWindow(owner_, receiver, static_cast<LONG_PTR>(action), key_);
  }
  ~HelpSubclassScope() { controls::UnsubclassWindow(owner_, key_); }
  HelpSubclassScope(const HelpSubclassScope&) = delete;
  HelpSubclassScope& operator=(const HelpSubclassScope&) = delete;

 private:
  HWND owner_;        // the dialog's owner, null when there is none
  std::wstring key_;  // the subclass name
};

template <typename Call>
auto CommonDialog::WithHelpSubclass(HWND owner, int32_t help_flag, DialogAction action, Call call) {
  if ((flags_ & help_flag) == 0) return call();
  Registered(help_message_, L"commdlg_help");
  HelpSubclassScope scope(owner, &help_owner_receiver_, action);
  return call();
}

template <typename Raise>
void CommonDialog::RaiseKeepingFocus(Raise raise) {
  HWND focus = GetFocus();
  raise();
  if (focus != nullptr && GetFocus() != focus) SetFocus(focus);
}

}  // namespace veltrin::dialogs
