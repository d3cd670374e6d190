// The desktop tool's entry point: the main window and its message loop. An optional argument is
// put into the address box and extracted at once (scripts/run --gui uses it).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "app/window/main_window.h"

namespace {

// Returns the first command-line argument, or empty.
std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  std::wstring first = count > 1 ? arguments[1] : L"";
  LocalFree(arguments);
  return first;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  InitCommonControls();  // the version 6 styles the manifest asks for
  try {
    veltrin::window::MainWindow window;
    window.ShowAndFocus(show);
    if (const std::wstring source = FirstArgument(); !source.empty()) window.ExtractFrom(source);
    return window.RunMessageLoop();
  } catch (...) {
    MessageBoxW(nullptr, L"窗口无法创建。", L"Veltrin", MB_OK | MB_ICONERROR);
    return 1;
  }
}
