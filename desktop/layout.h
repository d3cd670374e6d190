// The main window's fixed layout in twips, and its conversion to pixels at the screen's DPI.
#pragma once

#include <windows.h>

#include <cstdint>

namespace veltrin::window {

// What a layout entry creates.
enum class ControlKind { kTextBox, kButton, kCheckBox, kFrame, kTextBoxW, kListBoxW };

// One control of the window; positions in twips, those inside Frame1 relative to the frame.
struct ControlLayout {
  const wchar_t* name;     // the control's name on the form
  ControlKind kind;        // what it is
  const wchar_t* caption;  // caption of buttons, the check box and the frame; empty otherwise
  int left, top, width, height;
  int16_t tab_index;  // position in the tab order
  bool in_frame;      // positioned relative to Frame1
};

inline constexpr wchar_t kWindowCaption[] = L"Veltrin";
inline constexpr int kClientWidthTwips = 9360;
inline constexpr int kClientHeightTwips = 7575;

// The controls, ordered by tab index.
inline constexpr ControlLayout kLayout[] = {
    {L"TextBoxW1", ControlKind::kTextBoxW, L"", 120, 600, 5535, 6855, 0, false},
    {L"Text1", ControlKind::kTextBox, L"", 120, 120, 3015, 390, 1, false},
    {L"Command1", ControlKind::kButton, L"提取", 3240, 120, 735, 375, 2, false},
    {L"Command2", ControlKind::kButton, L"导入", 4080, 120, 735, 375, 3, false},
    {L"Command3", ControlKind::kButton, L"导出", 4920, 120, 735, 375, 4, false},
    {L"Frame1", ControlKind::kFrame, L"屏蔽词", 5760, 600, 3495, 6855, 5, false},
    {L"Command4", ControlKind::kButton, L"新增", 120, 360, 735, 375, 6, true},
    {L"Command5", ControlKind::kButton, L"删除", 960, 360, 735, 375, 7, true},
    {L"Command6", ControlKind::kButton, L"导入", 1800, 360, 735, 375, 8, true},
    {L"Command7", ControlKind::kButton, L"导出", 2640, 360, 735, 375, 9, true},
    {L"ListBoxW1", ControlKind::kListBoxW, L"", 120, 1320, 3255, 5415, 10, true},
    {L"TextBoxW2", ControlKind::kTextBoxW, L"", 120, 840, 3255, 375, 11, true},
    {L"Check1", ControlKind::kCheckBox, L"窗口置顶", 8160, 120, 1095, 255, 12, false},
};

// Returns the twips as pixels: 15 twips a pixel at 96 DPI, scaled by the DPI factors.
int TwipsToPixelsX(int twips) noexcept;
int TwipsToPixelsY(int twips) noexcept;

// Returns the control's rectangle in the form's client pixels (frame children moved by the frame).
RECT PixelBounds(const ControlLayout& control) noexcept;

}  // namespace veltrin::window
