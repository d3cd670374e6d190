// ShowFont, and the font hook's Apply event (FontHook).
#include <windows.h>
#include <commdlg.h>

#include "controls/base/colors.h"
#include "controls/base/screen_metrics.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/font_description.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

constexpr int kApplyButton = 1026;
constexpr int kFaceBox = 1136;
constexpr int kStyleBox = 1137;
constexpr int kSizeBox = 1138;
constexpr int kColorBox = 1139;
constexpr int kScriptBox = 1140;

LRESULT SelectedIndex(HWND dialog, int box) {
  return SendDlgItemMessageW(dialog, box, CB_GETCURSEL, 0, 0);
}

}  // namespace

bool CommonDialog::ShowFont() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  const HWND owner = DialogOwnerWindow();
  LOGFONTW description = MakeLogFont({font_name_, font_size_, font_bold_, font_italic_,
                                      font_strikethru_, font_underline_, font_charset_},
                                     controls::ScreenPixelsPerInchY());
  CHOOSEFONTW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.lpLogFont = &description;
  record.Flags = static_cast<DWORD>(flags_) | CF_INITTOLOGFONTSTRUCT;
  record.rgbColors = controls::TranslateColor(static_cast<OLE_COLOR>(color_));
  record.nSizeMin = min_;
  record.nSizeMax = max_;
  FontHook hook(*this);
  if (hook_events_) {
    record.Flags |= CF_ENABLEHOOK;
    record.lpfnHook = hook.HookFor(record);
  }
  const BOOL chosen =
      WithHelpSubclass(owner, CF_SHOWHELP, kActionFont, [&] { return ChooseFontW(&record); });
  if (!chosen) {
    const DWORD code = DialogExtendedError(DialogKind::kFont);
    if (code == 0) return FailCancelled();
    throw DialogError(DialogKind::kFont, code);
  }
  const DWORD returned = record.Flags;
  flags_ =
      static_cast<int32_t>(returned & ~static_cast<DWORD>(CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK));
  if ((returned & CF_NOFACESEL) == 0) font_name_ = FaceName(description);
  if ((returned & CF_NOSTYLESEL) == 0) {
    font_bold_ = description.lfWeight == FW_BOLD;
    font_italic_ = description.lfItalic != 0;
  }
  if ((returned & CF_NOSIZESEL) == 0) font_size_ = static_cast<float>(record.iPointSize) / 10.0F;
  if ((returned & CF_EFFECTS) != 0) {
    font_strikethru_ = description.lfStrikeOut != 0;
    font_underline_ = description.lfUnderline != 0;
    color_ = static_cast<int32_t>(record.rgbColors);
  }
  if ((returned & CF_NOSCRIPTSEL) == 0) font_charset_ = description.lfCharSet;
  return true;
}

template <>
LRESULT FontHook::OnHook(HWND dialog, UINT message, WPARAM w_param, LPARAM) {
  if (message == WM_INITDIALOG) {
    RaiseInitDialog(dialog);
    return 0;
  }
  if (message != WM_COMMAND || LOWORD(w_param) != kApplyButton || HIWORD(w_param) != 0) return 0;
  int32_t flags = dialog_.flags_;
  const std::pair<int, int32_t> boxes[] = {{kFaceBox, CF_NOFACESEL},
                                           {kStyleBox, CF_NOSTYLESEL},
                                           {kSizeBox, CF_NOSIZESEL},
                                           {kScriptBox, CF_NOSCRIPTSEL}};
  for (const auto& [box, bit] : boxes) {
    flags = SelectedIndex(dialog, box) == CB_ERR ? (flags | bit) : (flags & ~bit);
  }
  LOGFONTW font{};
  SendMessageW(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&font));
  const LRESULT color_index = SelectedIndex(dialog, kColorBox);
  const auto color = static_cast<int32_t>(
      color_index == CB_ERR ? 0
                            : SendDlgItemMessageW(dialog, kColorBox, CB_GETITEMDATA,
                                                  static_cast<WPARAM>(color_index), 0));
  const int pixels_per_inch = controls::ScreenPixelsPerInchY();
  const float size =
      pixels_per_inch == 0 ? 0.0F : static_cast<float>(MulDiv(-font.lfHeight, 72, pixels_per_inch));
  RaiseEvent([&](CommonDialogEvents& events) {
    events.FontApply(flags, FaceName(font), size, font.lfWeight == FW_BOLD, font.lfItalic != 0,
                     font.lfStrikeOut != 0, font.lfUnderline != 0, font.lfCharSet, color, dialog);
  });
  return 0;
}

}  // namespace veltrin::dialogs
