// The real veltrin.exe as a child process: its window and controls found by caption and class, an
// address typed and "提取" clicked, the result box read back and compared byte for byte with what
// the command line writes for the same source; and the resources the executable carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/utf8.h"
#include "common/utf16.h"
#include "tests/core/support/loopback_http_server.h"
#include "tests/desktop/window_test_support.h"

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
  // Waits for the program to end; false after the time.
  bool WaitForExit(DWORD milliseconds) const {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
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

BOOL CALLBACK KeepMultiLineEdit(HWND child, LPARAM context) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (_wcsicmp(name, L"Edit") != 0 || !(GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE)) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

// The multi-line edit window among the descendants: the result box.
HWND FindResultBox(HWND main) {
  HWND found = nullptr;
  EnumChildWindows(main, KeepMultiLineEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// Clicks the button and waits until the window has read the page (its caption is its own again
// and the box changed); returns the box's text as UTF-8.
std::string ExtractThrough(HWND main, HWND button, HWND result) {
  const std::wstring before = TextOf(result);
  SendMessageW(button, BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 600; ++attempt) {
    if (TextOf(main) == L"Veltrin" && TextOf(result) != before) break;
    Sleep(50);
  }
  return TextToUtf8(AsU16(TextOf(result)));
}

// Runs the command line on SOURCE with -o and returns what it wrote (UTF-8, CR LF).
std::string CommandLineOutput(const std::wstring& source, const test::ScratchFolder& folder) {
  const std::wstring output = folder.Path(L"命令行输出.txt");
  std::wstring command = L"\"" + ToWide(Utf8BytesToText(VELTRIN_CLI_EXE)) + L"\" extract -o \"" +
                         output + L"\" \"" + source + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return "cannot start the command line";
  }
  WaitForSingleObject(process.hProcess, 120000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return folder.Read(L"命令行输出.txt");
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

  const std::wstring url = ToWide(Utf8BytesToText(server.Url("/chapter.html")));
  SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
  const std::string from_window = ExtractThrough(desktop.Window(), extract, result);
  EXPECT_FALSE(from_window.empty());
  EXPECT_EQ(from_window, CommandLineOutput(url, folder));

  SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  const std::string from_file = ExtractThrough(desktop.Window(), extract, result);
  EXPECT_NE(from_file.find("本地文件"), std::string::npos);
  EXPECT_EQ(from_file, CommandLineOutput(path, folder));
}

TEST(DesktopExe, ClosingDuringASlowDownloadEndsTheProgramAtOnce) {
  test::LoopbackHttpServer server([](const test::HttpRequest&) {
    test::HttpReply reply = test::MakeReply(200, "OK", std::string(1 << 20, 'x'));
    reply.piece_bytes = 1 << 10;  // about 100 s in all
    reply.piece_delay_ms = 100;
    return reply;
  });
  DesktopProcess desktop;
  ASSERT_NE(desktop.Window(), nullptr);
  HWND address = FindWindowExW(desktop.Window(), nullptr, L"Edit", nullptr);
  HWND extract = FindWindowExW(desktop.Window(), nullptr, L"Button", L"提取");
  ASSERT_TRUE(address && extract);
  const std::wstring url = ToWide(Utf8BytesToText(server.Url("/slow")));
  SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
  SendMessageW(extract, BM_CLICK, 0, 0);
  bool progress = false;
  for (int attempt = 0; attempt < 200 && !progress; ++attempt) {
    progress = TextOf(desktop.Window()).find(L"正在读取") != std::wstring::npos;
    if (!progress) Sleep(50);
  }
  EXPECT_TRUE(progress) << TextToUtf8(AsU16(TextOf(desktop.Window())));
  PostMessageW(desktop.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(desktop.WaitForExit(10000)) << "the window waited for the download";
  EXPECT_EQ(desktop.ExitCode(), 0u);
}

}  // namespace
}  // namespace veltrin

namespace veltrin {
namespace {

// The bytes of one resource of a module loaded as data, or empty.
std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  const void* data = LockResource(LoadResource(module, found));
  return {static_cast<const char*>(data), SizeofResource(module, found)};
}

TEST(DesktopExe, CarriesItsIconManifestAndVersion) {
  const std::wstring exe = ToWide(Utf8BytesToText(VELTRIN_DESKTOP_EXE));
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);

  // The icon group: five 32-bit images of 256 (stored as 0), 16, 24, 32 and 48 pixels.
  const std::string group = ResourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u + 5 * 14);
  EXPECT_EQ(static_cast<unsigned char>(group[4]), 5);
  std::vector<int> sizes;
  for (size_t i = 0; i < 5; ++i) {
    const char* entry = group.data() + 6 + i * 14;
    sizes.push_back(static_cast<unsigned char>(entry[0]));
    EXPECT_EQ(static_cast<unsigned char>(entry[6]), 32);  // bits per pixel
  }
  EXPECT_EQ(sizes, (std::vector<int>{0, 16, 24, 32, 48}));

  const std::string manifest = ResourceBytes(module, RT_MANIFEST, MAKEINTRESOURCEW(1));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("name=\"Veltrin.Desktop\" version=\"" VELTRIN_VERSION ".0\""),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{(VELTRIN_VERSION_MAJOR << 16) | VELTRIN_VERSION_MINOR});
}

}  // namespace
}  // namespace veltrin
