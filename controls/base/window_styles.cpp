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

void SetExStyle(HWND window, DWORD exStyle) noexcept {
  SetWindowLongPtrW(window, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
}

// A tooltip reads its tools' text direction from their flags, not from its own extended style.
void ApplyRightToLeftToTools(HWND tooltip, DWORD bits) noexcept {
  const bool rtlReading = !(bits & WS_EX_LAYOUTRTL) && (bits & WS_EX_RTLREADING);
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
    tool.uFlags = rtlReading ? (tool.uFlags | TTF_RTLREADING) : (tool.uFlags & ~TTF_RTLREADING);
    SendMessageW(tooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip, TTM_UPDATE, 0, 0);
  }
}

}  // namespace

void ApplyBorderStyle(DWORD& style, DWORD& exStyle, int borderStyle) noexcept {
  switch (borderStyle) {
    case kBorderFixedSingle:
      style |= WS_BORDER;
      break;
    case kBorderStaticEdge:
      exStyle |= WS_EX_STATICEDGE;
      break;
    case kBorderSunken:
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case kBorderDialogFrame:
      style |= WS_DLGFRAME;
      exStyle |= WS_EX_WINDOWEDGE;
      break;
    default:
      break;
  }
}

void ChangeBorderStyle(HWND window, int borderStyle) noexcept {
  auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & ~kBorderStyleBits;
  DWORD exStyle = ExStyleOf(window) & ~kBorderExStyleBits;
  ApplyBorderStyle(style, exStyle, borderStyle);
  SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetExStyle(window, exStyle);
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

bool ResolveRightToLeft(bool rightToLeft, bool hostValue, int mode) noexcept {
  if (!rightToLeft) return false;
  switch (mode) {
    case kRtlHost:
      return hostValue;
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
  DWORD exStyle = (ExStyleOf(window) & ~kRtlBits) | (bits & kRtlBits);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  if (style & WS_POPUP) {
    exStyle &= ~(WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR);
    SetExStyle(window, exStyle);
    ApplyRightToLeftToTools(window, bits);
    return;
  }
  SetExStyle(window, exStyle);
  InvalidateRect(window, nullptr, TRUE);
  RefreshFrame(window);
}

}  // namespace veltrin::controls
