// Fonts, DPI factors, colour translation, window class names and the common-controls version.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "controls/base/colors.h"
#include "controls/base/comctl_version.h"
#include "controls/base/dpi.h"
#include "controls/base/fonts.h"
#include "controls/base/screen_metrics.h"
#include "controls/base/window_class.h"
#include "base/support/test_window.h"

namespace veltrin::controls {
namespace {

std::unique_ptr<FontObject> Font(const wchar_t* name = L"Arial", double size = 10) {
  return std::make_unique<FontObject>(name, size);
}

TEST(Fonts, EqualityCoversEveryAttributeAndJudgesBoldByWeight) {
  EXPECT_TRUE(FontsEqual(nullptr, nullptr));
  const auto arial = Font();
  EXPECT_FALSE(FontsEqual(arial.get(), nullptr));
  EXPECT_FALSE(FontsEqual(nullptr, arial.get()));
  EXPECT_TRUE(FontsEqual(arial.get(), Font().get()));
  EXPECT_FALSE(FontsEqual(arial.get(), Font(L"ARIAL").get())) << "names compare case-sensitively";
  EXPECT_FALSE(FontsEqual(arial.get(), Font(L"Arial", 10.5).get()));

  const struct {
    const char* what;
    void (*change)(FontObject&);
  } changes[] = {
      {"italic", [](FontObject& f) { f.SetItalic(true); }},
      {"underline", [](FontObject& f) { f.SetUnderline(true); }},
      {"strikethrough", [](FontObject& f) { f.SetStrikethrough(true); }},
      {"charset", [](FontObject& f) { f.SetCharset(134); }},
      {"weight", [](FontObject& f) { f.SetWeight(500); }},
  };
  for (const auto& change : changes) {
    auto other = Font();
    change.change(*other);
    EXPECT_FALSE(FontsEqual(arial.get(), other.get())) << change.what;
  }

  // Both bold, yet different weights: unequal.
  auto semibold = Font();
  semibold->SetWeight(600);
  auto bold = Font();
  bold->SetBold(true);
  ASSERT_TRUE(semibold->Bold() && bold->Bold());
  EXPECT_FALSE(FontsEqual(semibold.get(), bold.get()));
}

TEST(Fonts, GdiDescription) {
  auto font = Font(L"SimSun", 8.25);
  LOGFONTW description = GdiFontDescription(*font, 96);
  EXPECT_STREQ(description.lfFaceName, L"SimSun");
  EXPECT_EQ(description.lfHeight, -11);  // 8 points at 96 DPI, rounded
  EXPECT_EQ(description.lfWeight, 400);
  EXPECT_EQ(description.lfItalic, 0);
  EXPECT_EQ(description.lfQuality, 0);
  EXPECT_EQ(description.lfWidth, 0);

  font->SetSize(10.5);  // half to even: 10 points
  font->SetWeight(650);
  font->SetItalic(true);
  font->SetUnderline(true);
  font->SetStrikethrough(true);
  font->SetCharset(0x186);
  description = GdiFontDescription(*font, 120);
  EXPECT_EQ(description.lfHeight, -17);  // MulDiv(10, 120, 72) = 16.67
  EXPECT_EQ(description.lfWeight, 700) << "bold fonts get 700, whatever their weight";
  EXPECT_EQ(description.lfItalic, 1);
  EXPECT_EQ(description.lfUnderline, 1);
  EXPECT_EQ(description.lfStrikeOut, 1);
  EXPECT_EQ(description.lfCharSet, 0x86);

  const std::wstring long_name(40, L'x');
  description = GdiFontDescription(*Font(long_name.c_str()), 96);
  EXPECT_EQ(std::wstring(description.lfFaceName), std::wstring(31, L'x'));
}

TEST(Fonts, CreatesAnOwnedGdiFont) {
  auto font = Font(L"Arial", 12);
  font->SetBold(true);
  UniqueFont gdi_font = CreateGdiFont(*font);
  ASSERT_TRUE(gdi_font);
  LOGFONTW read_back{};
  ASSERT_EQ(GetObjectW(gdi_font.Get(), sizeof(read_back), &read_back), int{sizeof(read_back)});
  EXPECT_STREQ(read_back.lfFaceName, L"Arial");
  EXPECT_EQ(read_back.lfWeight, 700);
  EXPECT_EQ(read_back.lfHeight, -MulDiv(12, ScreenPixelsPerInchY(), 72));

  UniqueFont moved = std::move(gdi_font);
  EXPECT_FALSE(gdi_font);
  const HFONT handle = moved.Get();
  moved.Reset();
  EXPECT_EQ(GetObjectW(handle, sizeof(read_back), &read_back), 0) << "the font was deleted";
}

TEST(Dpi, CorrectionFactorAndScales) {
  EXPECT_EQ(DpiCorrectionFactorFor(96, 15), 1.0f);
  EXPECT_EQ(DpiCorrectionFactorFor(120, 12), 1.0f);
  EXPECT_FLOAT_EQ(DpiCorrectionFactorFor(120, 15), 0.8f);
  EXPECT_EQ(DpiCorrectionFactorFor(0, 15), 1.0f);

  const int ppi_x = ScreenPixelsPerInchX();
  ASSERT_GT(ppi_x, 0);
  EXPECT_GT(ScreenPixelsPerInchY(), 0);
  EXPECT_DOUBLE_EQ(DpiScaleX(), ppi_x / 96.0);
  EXPECT_DOUBLE_EQ(DpiScaleY(), ScreenPixelsPerInchY() / 96.0);
  EXPECT_FLOAT_EQ(DpiCorrectionFactor(), 1.0f) << "the host's twips per pixel follow the screen";
}

TEST(Colors, TranslatesRgbAndSystemColours) {
  EXPECT_EQ(TranslateColor(RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(TranslateColor(0x80000000 | COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(TranslateColor(0x80000000 | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(TranslateColor(0x80000000 | 0xFFFF), kInvalidColor);
  EXPECT_EQ(TranslateColor(0x05000000), kInvalidColor);
}

TEST(WindowClass, NamesLiveWindowsOnly) {
  testing::TestWindow parent;
  const HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, parent.Handle(),
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(_wcsicmp(WindowClassName(edit).c_str(), L"Edit"), 0);
  EXPECT_EQ(WindowClassName(parent.Handle()), L"VeltrinBaseTestWindow");
  DestroyWindow(edit);
  EXPECT_EQ(WindowClassName(edit), L"");
  EXPECT_EQ(WindowClassName(nullptr), L"");
}

TEST(Versions, CommonControlsClassRule) {
  const struct {
    DWORD major, minor;
    CommonControlsClass expected;
  } rows[] = {
      {0, 0, CommonControlsClass::kOlder}, {5, 82, CommonControlsClass::kOlder},
      {6, 0, CommonControlsClass::kV60},   {6, 10, CommonControlsClass::kV61},
      {7, 0, CommonControlsClass::kV61},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CommonControlsClassOf(row.major, row.minor), row.expected)
        << row.major << "." << row.minor;
  }
  EXPECT_GE(CommonControlsMajorVersion(), 5u) << "this process links comctl32";
}

TEST(Versions, AnswerFromALibraryNotYetLoadedIsAskedAgain) {
  detail::VersionMemo memo;
  int asked = 0;
  detail::LibraryVersion next{false, 0, 0};
  auto query = [&] {
    ++asked;
    return next;
  };
  EXPECT_EQ(memo.Get(query).major, 0u);
  next = {true, 6, 10};
  EXPECT_EQ(memo.Get(query).major, 6u) << "0 from a library not yet loaded is not kept";
  next = {true, 5, 82};
  const detail::LibraryVersion kept = memo.Get(query);
  EXPECT_EQ(kept.major, 6u);
  EXPECT_EQ(kept.minor, 10u);
  EXPECT_EQ(asked, 2) << "a loaded library's answer is kept for the process";

  detail::VersionMemo failed;
  next = {true, 0, 0};  // loaded, but DllGetVersion failed: that answer is final
  failed.Get(query);
  next = {true, 6, 0};
  EXPECT_EQ(failed.Get(query).major, 0u);
}

TEST(Versions, VisualStylesRule) {
  const struct {
    VisualStyleFacts facts;
    bool expected;
  } rows[] = {
      {{5, true, true, 0x7}, false},  // comctl32 5.x: never, even with a theme
      {{4, true, true, 0x7}, false}, {{6, false, true, 0x7}, false}, {{6, true, true, 0}, true},
      {{6, true, false, 0x2}, true}, {{6, true, false, 0x1}, false},
  };
  for (const auto& row : rows) EXPECT_EQ(VisualStylesActiveFor(row.facts), row.expected);
  if (CommonControlsMajorVersion() <= 5) {
    EXPECT_FALSE(VisualStylesActive());
  }
}

TEST(Versions, InitControlClassesRegistersTheNamedClasses) {
  EXPECT_TRUE(InitControlClasses(ICC_LISTVIEW_CLASSES));
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  EXPECT_TRUE(GetClassInfoExW(nullptr, WC_LISTVIEWW, &info));
}

}  // namespace
}  // namespace veltrin::controls
