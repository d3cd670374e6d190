// ShowColor with the instance's custom colours, and the colour hook's events (ColorHook).
#include <windows.h>
#include <commdlg.h>

#include "controls/base/colors.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {

bool CommonDialog::ShowColor() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  if (!custom_colors_filled_) {
    for (int i = 0; i < 16; ++i) {
      const auto grey = static_cast<BYTE>(255 - 16 * i);
      custom_colors_[i] = RGB(grey, grey, grey);
    }
    custom_colors_filled_ = true;
  }
  const HWND owner = DialogOwnerWindow();
  CHOOSECOLORW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
  record.rgbResult = controls::TranslateColor(static_cast<OLE_COLOR>(color_));
  record.lpCustColors = custom_colors_.data();
  record.Flags = static_cast<DWORD>(flags_);
  ColorHook hook(*this);
  if (hook_events_) {
    record.Flags |= CC_ENABLEHOOK;
    record.lpfnHook = hook.HookFor(record);
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

template <>
LRESULT ColorHook::OnHook(HWND dialog, UINT message, WPARAM, LPARAM l_param) {
  if (message == WM_INITDIALOG) {
    dialog_.Registered(dialog_.color_ok_message_, COLOROKSTRINGW);
    RaiseInitDialog(dialog);
    return 0;
  }
  if (dialog_.color_ok_message_ == 0 || message != dialog_.color_ok_message_ || l_param == 0)
    return 0;
  const CHOOSECOLORW record = *reinterpret_cast<const CHOOSECOLORW*>(l_param);
  const auto chosen = static_cast<int32_t>(record.rgbResult);
  int32_t color = chosen;
  bool cancel = false;
  RaiseEvent([&](CommonDialogEvents& events) { events.ColorValidate(color, cancel, dialog); });
  if (!cancel) return 0;
  if (color != chosen) {
    SendMessageW(dialog, dialog_.Registered(dialog_.set_rgb_color_message_, SETRGBSTRINGW), 0,
                 static_cast<LPARAM>(static_cast<DWORD>(color)));
  }
  return 1;
}

}  // namespace veltrin::dialogs
