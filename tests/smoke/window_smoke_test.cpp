// Proves that Windows tests really run under Wine with a display: a top-level window with an EDIT
// child, subclassed with SetWindowSubclass, takes Chinese text through WM_SETTEXT. Without Wine or
// without a display the window cannot be created and the test fails; nothing is skipped.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct SubclassLog {
  std::vector<UINT> messages;
};

LRESULT CALLBACK LoggingSubclass(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                 UINT_PTR, DWORD_PTR ref_data) {
  reinterpret_cast<SubclassLog*>(ref_data)->messages.push_back(message);
  return DefSubclassProc(window, message, w_param, l_param);
}

class WindowSmoke : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"smoke", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr) << "no window: is Wine running inside a display?";
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100,
                            parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }

  HWND parent_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(WindowSmoke, DisplayIsPresent) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_GT(GetDeviceCaps(screen, HORZRES), 0);
  ReleaseDC(nullptr, screen);
}

TEST_F(WindowSmoke, SubclassedEditSeesAndKeepsChineseText) {
  SubclassLog log;
  ASSERT_TRUE(SetWindowSubclass(edit_, LoggingSubclass, 1, reinterpret_cast<DWORD_PTR>(&log)));

  const std::wstring text = L"第一章　风起";
  ASSERT_TRUE(SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));

  wchar_t buffer[64] = {};
  const LRESULT length = SendMessageW(edit_, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(std::wstring(buffer, static_cast<size_t>(length)), text);
  EXPECT_NE(std::find(log.messages.begin(), log.messages.end(), UINT{WM_SETTEXT}),
            log.messages.end());

  EXPECT_TRUE(RemoveWindowSubclass(edit_, LoggingSubclass, 1));
}

}  // namespace
