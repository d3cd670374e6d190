// The real veltrin.exe as a child process: its window and controls found by caption and class, an
// address typed and "提取" clicked, the result box read back and compared with the core's output.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/core/pipeline.h"
#include "app/core/utf8.h"
#include "common/utf16.h"
#include "tests/core/support/loopback_http_server.h"
#include "tests/window/window_test_support.h"

namespace veltrin {
namespace {

// Starts veltrin.exe and finds its main window; closes it at the end.
class DesktopProcess {
 public:
  DesktopProcess() {
    std::wstring command = L"\"" + ToWide(Utf8BytesToText(VELTRIN_DESKTOP_EXE)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      return;
    }
    WaitForInputIdle(process_.hProcess, 30000);
    for (int attempt = 0; attempt < 300 && !window_; ++attempt) {
      window_ = FindProcessWindow(L"Veltrin");
      if (!window_) Sleep(100);
    }
  }
  ~DesktopProcess() {
    if (!process_.hProcess) return;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 2);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  DesktopProcess(const DesktopProcess&) = delete;
  DesktopProcess& operator=(const DesktopProcess&) = delete;

  HWND Window() const noexcept { return window_; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  HWND FindProcessWindow(const wchar_t* caption) const {
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, caption); window;
         window = FindWindowExW(nullptr, window, nullptr, caption)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process_.dwProcessId && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// The multi-line edit window among the descendants: the result box.
HWND FindResultBox(HWND main) {
  HWND found = nullptr;
  EnumChildWindows(
      main,
      [](HWND child, LPARAM context) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (_wcsicmp(name, L"Edit") != 0 || !(GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE)) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(context) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

TEST(DesktopExe, ExtractsAnAddressAndAChineseNamedFileThroughItsWindow) {
  test::LoopbackHttpServer server(
      [](const test::HttpRequest&) { return test::MakeReply(200, "OK", test::kSamplePage); });
  test::ScratchFolder folder;
  const std::string local_page = std::string(test::kSamplePage) + "<p>本地文件。</p>\n";
  const std::wstring path = folder.Write(L"本地 页面.html", local_page);

  DesktopProcess desktop;
  ASSERT_NE(desktop.Window(), nullptr) << "veltrin.exe did not show its window";
  // The address box is the window's own edit field; the button is found by its caption.
  HWND address = FindWindowExW(desktop.Window(), nullptr, L"Edit", nullptr);
  HWND extract = FindWindowExW(desktop.Window(), nullptr, L"Button", L"提取");
  HWND result = FindResultBox(desktop.Window());
  ASSERT_TRUE(address && extract && result);

  BlockedWords no_words;
  no_words.Rebuild({});
  const std::wstring url = ToWide(Utf8BytesToText(server.Url("/chapter.html")));
  SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
  SendMessageW(extract, BM_CLICK, 0, 0);
  EXPECT_EQ(TextToUtf8(AsU16(TextOf(result))),
            TextToUtf8(*ExtractParagraphs(Utf8BytesToText(test::kSamplePage), no_words)));

  SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  SendMessageW(extract, BM_CLICK, 0, 0);
  EXPECT_EQ(TextToUtf8(AsU16(TextOf(result))),
            TextToUtf8(*ExtractParagraphs(Utf8BytesToText(local_page), no_words)));
}

}  // namespace
}  // namespace veltrin
