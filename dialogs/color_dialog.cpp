// ShowColor with the instance's custom colours, and the colour hook's events.
#include <windows.h>
#include <commdlg.h>

#include "controls/base/colors.h"
#include "controls/base/common_dialog_hooks.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {

bool CommonDialog::ShowColor() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  if (!customColorsFilled_) {
    for (int i = 0; i < 16; ++i) {
      const auto grey = static_cast<BYTE>(255 - 16 * i);
      customColors_[i] = RGB(grey, grey, grey);
    }
    customColorsFilled_ = true;
  }
  const HWND owner = DialogOwnerWindow();
  CHOOSECOLORW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
  record.rgbResult = controls::TranslateColor(static_cast<OLE_COLOR>(color_));
  record.lpCustColors = customColors_.data();
  record.Flags = static_cast<DWORD>(flags_);
  if (hookEvents_) {
    record.Flags |= CC_ENABLEHOOK;
    record.lCustData = reinterpret_cast<LPARAM>(static_cast<controls::ISubclass*>(this));
    record.lpfnHook = controls::ColorHookProc;
  }
  const BOOL chosen =
      WithHelpSubclass(owner, CC_SHOWHELP, kActionColor, [&] { return ChooseColorW(&record); });
  if (!chosen) {
    const DWORD code = DialogExtendedError(DialogKind::kColor);
    if (code == 0) return FailCancelled();
    throw DialogError(DialogKind::kColor, code);
  }
  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(CC_ENABLEHOOK));
  color_ = static_cast<int32_t>(record.rgbResult);
  return true;
}

LRESULT CommonDialog::OnColorHook(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Registered(colorOkMessage_, COLOROKSTRINGW);
    RaiseKeepingFocus([&] {
      if (events_) events_->InitDialog(kActionColor, dialog);
    });
    return 0;
  }
  if (colorOkMessage_ == 0 || message != colorOkMessage_ || lParam == 0) return 0;
  const CHOOSECOLORW record = *reinterpret_cast<const CHOOSECOLORW*>(lParam);
  const auto chosen = static_cast<int32_t>(record.rgbResult);
  int32_t color = chosen;
  bool cancel = false;
  RaiseKeepingFocus([&] {
    if (events_) events_->ColorValidate(color, cancel, dialog);
  });
  if (!cancel) return 0;
  if (color != chosen) {
    SendMessageW(dialog, Registered(setRgbColorMessage_, SETRGBSTRINGW), 0,
                 static_cast<LPARAM>(static_cast<DWORD>(color)));
  }
  return 1;
}

}  // namespace veltrin::dialogs
