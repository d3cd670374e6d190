// Border and right-to-left style changes.
#include "controls/base/window_styles.h"

#include <commctrl.h>

namespace veltrin::controls {
namespace {

constexpr DWORD kBorderStyleBits = WS_BORDER | WS_DLGFRAME;
constexpr DWORD kBorderExStyleBits = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
constexpr DWORD kRtlBits = WS_EX_LAYOUTRTL | WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
constexpr int kLocaleFontSignature = 0x58;  // LOCALE_FONTSIGNATURE
constexpr int kToolTextLength = 80;

DWORD ExStyleOf(HWND window) noexcept {
  return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
}

void SetExStyle(HWND window, DWORD ex_style) noexcept {
  SetWindowLongPtrW(window, GWL_EXSTYLE, static_cast<LONG_PTR>(ex_style));
}

// A tooltip reads its tools' text direction from their flags, not from its own extended style.
void ApplyRightToLeftToTools(HWND tooltip, DWORD bits) noexcept {
  const bool rtl_reading = !(bits & WS_EX_LAYOUTRTL) && (bits & WS_EX_RTLREADING);
  const auto count = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    wchar_t text[kToolTextLength] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&tool))) {
      continue;
    }
    tool.uFlags = rtl_reading ? (tool.uFlags | TTF_RTLREADING) : (tool.uFlags & ~TTF_RTLREADING);
    SendMessageW(tooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip, TTM_UPDATE, 0, 0);
  }
}

}  // namespace

void ApplyBorderStyle(DWORD& style, DWORD& ex_style, int border_style) noexcept {
  switch (border_style) {
    case kBorderFixedSingle:
      style |= WS_BORDER;
      break;
    case kBorderStaticEdge:
      ex_style |= WS_EX_STATICEDGE;
      break;
    case kBorderSunken:
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case kBorderDialogFrame:
      style |= WS_DLGFRAME;
      ex_style |= WS_EX_WINDOWEDGE;
      break;
    default:
      break;
  }
}

void ChangeBorderStyle(HWND window, int border_style) noexcept {
  auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & ~kBorderStyleBits;
  DWORD ex_style = ExStyleOf(window) & ~kBorderExStyleBits;
  ApplyBorderStyle(style, ex_style, border_style);
  SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetExStyle(window, ex_style);
  RefreshFrame(window);
}

void RefreshFrame(HWND window) noexcept {
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

bool LocaleReadsRightToLeft(LCID locale) noexcept {
  LOCALESIGNATURE signature{};
  constexpr int kCharacters = sizeof(signature) / sizeof(wchar_t);
  static_assert(kCharacters == 16);
  if (GetLocaleInfoW(locale, kLocaleFontSignature, reinterpret_cast<LPWSTR>(&signature),
                     kCharacters) == 0) {
    return true;
  }
  // Unicode subset bit 123: right-to-left layout.
  return (signature.lsUsb[3] & (1u << (123 - 96))) != 0;
}

bool ResolveRightToLeft(bool right_to_left, bool host_value, int mode) noexcept {
  if (!right_to_left) return false;
  switch (mode) {
    case kRtlHost:
      return host_value;
    case kRtlSystemLocale:
      return LocaleReadsRightToLeft(MAKELCID(GetSystemDefaultLangID(), 0));
    case kRtlUserLocale:
      return LocaleReadsRightToLeft(MAKELCID(GetUserDefaultLangID(), 0));
    case kRtlUserInterfaceLanguage:
      return LocaleReadsRightToLeft(MAKELCID(GetUserDefaultUILanguage(), 0));
    default:
      return true;
  }
}

void ApplyRightToLeftStyles(HWND window, DWORD bits) noexcept {
  DWORD ex_style = (ExStyleOf(window) & ~kRtlBits) | (bits & kRtlBits);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  if (style & WS_POPUP) {
    ex_style &= ~(WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR);
    SetExStyle(window, ex_style);
    ApplyRightToLeftToTools(window, bits);
    return;
  }
  SetExStyle(window, ex_style);
  InvalidateRect(window, nullptr, TRUE);
  RefreshFrame(window);
}

}  // namespace veltrin::controls
