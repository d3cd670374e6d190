// Border and right-to-left styles of the controls' native windows, applied at creation or to a
// live window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace veltrin::controls {

// BorderStyle values: 0 none, 1 fixed single, 2 static edge, 3 client edge (sunken), 4 dialog
// frame.
enum BorderStyleValue : int16_t {
  kBorderNone = 0,
  kBorderFixedSingle = 1,
  kBorderStaticEdge = 2,
  kBorderSunken = 3,
  kBorderDialogFrame = 4,
};

// Adds the style and extended-style bits of `border_style` to `style` and `ex_style`; an unknown
// value adds nothing.
void ApplyBorderStyle(DWORD& style, DWORD& ex_style, int border_style) noexcept;

// Replaces the border bits of a live window by those of `border_style` and redraws its frame.
void ChangeBorderStyle(HWND window, int border_style) noexcept;

// Makes a window recompute and redraw its frame without moving, sizing or re-ordering it.
void RefreshFrame(HWND window) noexcept;

// RightToLeftMode values.
enum RightToLeftModeValue : int {
  kRtlNoControl = 0,              // keep the control's own value
  kRtlHost = 1,                   // the host's value
  kRtlSystemLocale = 2,           // the system default language
  kRtlUserLocale = 3,             // the user default language
  kRtlUserInterfaceLanguage = 4,  // the user's interface language
};

// Returns the effective right-to-left value: false stays false; otherwise mode 1 takes
// `host_value`, modes 2-4 ask whether that language lays out right to left (true when the locale
// cannot be read), and any other mode keeps true.
bool ResolveRightToLeft(bool right_to_left, bool host_value, int mode) noexcept;

// Returns whether a locale's font signature marks a right-to-left layout (Unicode subset bit 123);
// true when the signature cannot be read.
bool LocaleReadsRightToLeft(LCID locale) noexcept;

// Sets the right-to-left extended-style bits (WS_EX_LAYOUTRTL, WS_EX_RTLREADING, WS_EX_RIGHT,
// WS_EX_LEFTSCROLLBAR) of a live window to those present in `bits`. A tooltip (popup) keeps only
// the layout bit and has each tool's RTL-reading flag set to match; other windows are redrawn.
void ApplyRightToLeftStyles(HWND window, DWORD bits) noexcept;

}  // namespace veltrin::controls
