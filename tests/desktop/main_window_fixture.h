// The fixture of the main window tests: the window created and shown in this process, its controls
// by name, and the window's own loop run until a page has been read.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/pipeline.h"
#include "core/utf8.h"
#include "desktop/main_window.h"
#include "common/utf16.h"
#include "tests/desktop/window_test_support.h"

namespace veltrin::window {

inline std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The result the window shows for a UTF-8 page.
inline std::wstring Expected(const std::string& page, std::vector<std::u16string> words = {}) {
  BlockedWords blocked;
  blocked.Rebuild(words);
  return ToWide(*ExtractParagraphs(Utf8BytesToText(page), blocked));
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { window_.ShowAndFocus(); }

  HWND Control(const wchar_t* name) { return window_.Find(name)->hWnd(); }
  void Click(const wchar_t* name) { SendMessageW(Control(name), BM_CLICK, 0, 0); }
  // Runs the window's loop until the condition holds; false after 30 s or when the loop ended.
  template <typename Condition>
  bool PumpUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline || !window_.PumpPendingMessages()) {
        return false;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
  }
  // Clicks "提取" and runs the window's loop until the page is read.
  void ClickExtract() {
    Click(L"Command1");
    EXPECT_TRUE(PumpUntil([this] { return !window_.Busy(); }));
  }
  void SetAddress(const std::wstring& text) { SetWindowTextW(window_.AddressBox(), text.c_str()); }
  std::wstring Result() { return window_.ResultBox().Text(); }
  std::vector<std::wstring> Words() {
    std::vector<std::wstring> words;
    for (int32_t i = 0; i < window_.WordList().ListCount(); ++i) {
      words.push_back(window_.WordList().List(i));
    }
    return words;
  }

  MainWindow window_;
  test::ScratchFolder folder_;
};

}  // namespace veltrin::window
