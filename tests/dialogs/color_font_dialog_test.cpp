// Colour and font: the font description, and both dialogs driven for real (a colour and a font
// size filled in), with cancel, custom colours and hook events.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "controls/base/window/window_procedure.h"
#include "dialogs/dialog_hooks.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "dialogs/font_description.h"
#include "event_log.h"

namespace veltrin::dialogs {
namespace {

using testing::DialogDriver;
using testing::PressButton;

constexpr int kFontSizeBox = 1138;

TEST(FontDescription, SizeRoundsHalfToEvenAndNameIsCutTo31WithItsNul) {
  FontProperties font;
  font.size = 8.5F;
  EXPECT_EQ(MakeLogFont(font, 96).lfHeight, -MulDiv(8, 96, 72));
  font.size = 9.5F;
  EXPECT_EQ(MakeLogFont(font, 96).lfHeight, -MulDiv(10, 96, 72));
  font.name = std::wstring(40, L'字');
  font.bold = true;
  font.italic = true;
  font.charset = 0x186;  // only the low byte goes through
  const LOGFONTW description = MakeLogFont(font, 96);
  EXPECT_EQ(FaceName(description), std::wstring(31, L'字'));
  EXPECT_EQ(description.lfFaceName[LF_FACESIZE - 1], L'\0') << "the name ends inside the field";
  font.name = std::wstring(31, L'x');
  EXPECT_EQ(FaceName(MakeLogFont(font, 96)), font.name) << "31 characters fit whole";
  EXPECT_EQ(description.lfWeight, 700);
  EXPECT_EQ(description.lfItalic, 1);
  EXPECT_EQ(description.lfUnderline, 0);
  EXPECT_EQ(description.lfCharSet, 0x86);
}

constexpr int kRedBox = 706;
constexpr int kGreenBox = 707;
constexpr int kBlueBox = 708;

// Types the colour into the red, green and blue boxes of the open dialog and presses OK.
std::function<void(HWND)> ChooseColor(COLORREF color) {
  return [color](HWND dialog) {
    testing::SetChildText(dialog, {kRedBox}, std::to_wstring(GetRValue(color)));
    testing::SetChildText(dialog, {kGreenBox}, std::to_wstring(GetGValue(color)));
    testing::SetChildText(dialog, {kBlueBox}, std::to_wstring(GetBValue(color)));
    PressButton(dialog, IDOK);
  };
}

TEST(ColorDialog, ReturnsTheChosenColorAndFillsCustomColorsOnce) {
  CommonDialog dialog;
  dialog.SetFlags(CC_FULLOPEN | CC_ENABLEHOOK);
  {
    DialogDriver driver(ChooseColor(RGB(10, 20, 30)));
    ASSERT_TRUE(dialog.ShowColor());
  }
  EXPECT_EQ(dialog.Color(), static_cast<int32_t>(RGB(10, 20, 30)));
  EXPECT_EQ(dialog.Flags() & CC_ENABLEHOOK, 0);
  EXPECT_EQ(dialog.CustomColors()[0], RGB(255, 255, 255));
  EXPECT_EQ(dialog.CustomColors()[15], RGB(15, 15, 15));
}

TEST(ColorDialog, SystemColorIsTranslatedForTheDialog) {
  CommonDialog dialog;
  dialog.SetColor(static_cast<int32_t>(0x80000000 | COLOR_WINDOW));
  DialogDriver driver([](HWND window) { PressButton(window, IDOK); });
  ASSERT_TRUE(dialog.ShowColor());
  EXPECT_EQ(dialog.Color(), static_cast<int32_t>(GetSysColor(COLOR_WINDOW)));
}

class ColorEvents : public testing::EventLog {
 public:
  void InitDialog(int16_t action, HWND) override { Log(L"InitDialog " + std::to_wstring(action)); }
  void ColorValidate(int32_t& color, bool& cancel, HWND) override {
    Log(L"ColorValidate " + std::to_wstring(color));
    if (refuse_with != 0) {
      cancel = true;
      color = refuse_with;
      refuse_with = 0;
    }
  }
  int32_t refuse_with = 0;
};

// The colour-OK message is sent here as the dialog sends it on OK (Wine's dialog never sends it).
TEST(ColorDialog, RefusedValidateKeepsTheDialogOpenAndAnAcceptedOneDoesNot) {
  CommonDialog dialog;
  ColorEvents events;
  events.refuse_with = RGB(1, 2, 3);
  dialog.SetEventSink(&events);
  dialog.SetHookEvents(true);
  LRESULT refused = -1;
  LRESULT accepted = -1;
  DialogDriver driver([&](HWND window) {
    CHOOSECOLORW record{};
    record.lStructSize = sizeof(record);
    record.rgbResult = RGB(200, 0, 0);
    const UINT color_ok = RegisterWindowMessageW(COLOROKSTRINGW);
    refused = SendMessageW(window, color_ok, 0, reinterpret_cast<LPARAM>(&record));
    accepted = SendMessageW(window, color_ok, 0, reinterpret_cast<LPARAM>(&record));
    PressButton(window, IDCANCEL);
  });
  EXPECT_FALSE(dialog.ShowColor());
  events.Expect({L"InitDialog 3", L"ColorValidate " + std::to_wstring(RGB(200, 0, 0)),
                 L"ColorValidate " + std::to_wstring(RGB(200, 0, 0))});
  EXPECT_EQ(refused, 0) << "a dialog answers sent messages with its message result";
  EXPECT_EQ(accepted, 0);
}

// The hook's own answer to colour-OK (what keeps the dialog open), called as the dialog calls it.
TEST(ColorDialog, HookAnswersOneForARefusedColor) {
  CommonDialog dialog;
  ColorEvents events;
  events.refuse_with = RGB(1, 2, 3);
  dialog.SetEventSink(&events);
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  CHOOSECOLORW record{};
  record.lStructSize = sizeof(record);
  record.rgbResult = RGB(200, 0, 0);
  ColorHook hook(dialog);
  const auto hook_proc = hook.HookFor(record);
  const auto l_param = reinterpret_cast<LPARAM>(&record);
  hook_proc(window, WM_INITDIALOG, 0, l_param);
  EXPECT_EQ(controls::HandlerOfWindow(window), &hook);
  const UINT color_ok = RegisterWindowMessageW(COLOROKSTRINGW);
  EXPECT_EQ(hook_proc(window, color_ok, 0, l_param), 1u);
  EXPECT_EQ(hook_proc(window, color_ok, 0, l_param), 0u);
  hook_proc(window, WM_NCDESTROY, 0, 0);
  EXPECT_EQ(controls::HandlerOfWindow(window), nullptr);
  DestroyWindow(window);
  events.Expect({L"InitDialog 3", L"ColorValidate " + std::to_wstring(RGB(200, 0, 0)),
                 L"ColorValidate " + std::to_wstring(RGB(200, 0, 0))});
}

// Picks `size` in the size list as a user would.
void SelectFontSize(HWND dialog, const wchar_t* size) {
  HWND box = GetDlgItem(dialog, kFontSizeBox);
  SendMessageW(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFontSizeBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

int CALLBACK TakeTrueTypeFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM data) {
  if ((type & TRUETYPE_FONTTYPE) == 0 || font->lfFaceName[0] == L'@') return 1;
  *reinterpret_cast<std::wstring*>(data) = font->lfFaceName;
  return 0;
}

// Returns the face of an installed font, so that the dialog can select it.
std::wstring InstalledFace() {
  std::wstring face;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, TakeTrueTypeFace, reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, screen);
  return face;
}

TEST(FontDialog, ReturnsTheChosenSizeAndKeepsUnreturnedEffects) {
  CommonDialog dialog;
  dialog.SetFontName(InstalledFace());
  dialog.SetFontSize(10);
  dialog.SetFontBold(true);
  dialog.SetFontUnderline(true);
  dialog.SetColor(RGB(1, 2, 3));
  dialog.SetFlags(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT);
  DialogDriver driver([](HWND window) {
    SelectFontSize(window, L"14");
    PressButton(window, IDOK);
  });
  ASSERT_TRUE(dialog.ShowFont());
  EXPECT_EQ(dialog.FontSize(), 14.0F);
  EXPECT_EQ(dialog.FontName(), InstalledFace());
  EXPECT_TRUE(dialog.FontBold());
  EXPECT_TRUE(dialog.FontUnderline()) << "no effects shown: the effects stay";
  EXPECT_EQ(dialog.Color(), static_cast<int32_t>(RGB(1, 2, 3)));
  EXPECT_EQ(dialog.Flags() & CF_INITTOLOGFONTSTRUCT, 0);
}

TEST(ColorAndFontDialogs, CancelChangesNothingOrRaises32755) {
  for (bool cancelError : {false, true}) {
    for (bool font : {false, true}) {
      CommonDialog dialog;
      dialog.SetCancelError(cancelError);
      dialog.SetColor(RGB(4, 5, 6));
      dialog.SetFontSize(11);
      dialog.SetFlags(font ? CF_SCREENFONTS : 0);
      DialogDriver driver(testing::PressCancel());
      int number = 0;
      try {
        EXPECT_FALSE(font ? dialog.ShowFont() : dialog.ShowColor());
      } catch (const RunTimeError& error) {
        number = error.Number();
      }
      EXPECT_EQ(number, cancelError ? 32755 : 0);
      EXPECT_EQ(dialog.Color(), static_cast<int32_t>(RGB(4, 5, 6)));
      EXPECT_EQ(dialog.FontSize(), 11.0F);
      EXPECT_EQ(dialog.Flags(), font ? CF_SCREENFONTS : 0);
    }
  }
}

class FontEvents : public testing::EventLog {
 public:
  void InitDialog(int16_t action, HWND) override { Log(L"InitDialog " + std::to_wstring(action)); }
  void FontApply(int32_t, const std::wstring& name, float size, bool bold, bool, bool, bool,
                 int16_t, int32_t, HWND) override {
    Log(L"FontApply " + name + L" " + std::to_wstring(static_cast<int>(size)) + L" " +
        (bold ? L"bold" : L"regular"));
  }
};

TEST(FontDialog, ApplyRaisesFontApplyWithTheDialogsFont) {
  CommonDialog dialog;
  FontEvents events;
  dialog.SetEventSink(&events);
  dialog.SetHookEvents(true);
  dialog.SetFontName(InstalledFace());
  dialog.SetFontSize(12);
  dialog.SetFlags(CF_SCREENFONTS | CF_APPLY);
  DialogDriver driver([](HWND window) {
    PressButton(window, 1026);
    Sleep(200);
    PressButton(window, IDCANCEL);
  });
  EXPECT_FALSE(dialog.ShowFont());
  events.Expect({L"InitDialog 4", L"FontApply " + InstalledFace() + L" 12 regular"});
}

}  // namespace
}  // namespace veltrin::dialogs
