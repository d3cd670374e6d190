// The desktop tool's entry point: the main window and its message loop. Optional arguments,
// "[--blocked WORD-LIST] [SOURCE]", load a word list and extract SOURCE at once (scripts/run --gui
// and the screenshot script use them); the window works the same without them.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "desktop/main_window.h"

namespace {

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  std::vector<std::wstring> result(arguments + 1, arguments + count);
  LocalFree(arguments);
  return result;
}

void ApplyArguments(veltrin::window::MainWindow& window, const std::vector<std::wstring>& args) {
  std::wstring source;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == L"--blocked" && i + 1 < args.size()) {
      try {
        window.LoadWordList(args[++i]);
      } catch (...) {  // an unreadable list leaves the list empty, as an import would
      }
    } else {
      source = args[i];
    }
  }
  if (!source.empty()) window.ExtractFrom(source);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  InitCommonControls();  // the version 6 styles the manifest asks for
  try {
    veltrin::window::MainWindow window;
    window.ShowAndFocus(show);
    ApplyArguments(window, Arguments());
    return window.RunMessageLoop();
  } catch (...) {
    MessageBoxW(nullptr, L"窗口无法创建。", L"Veltrin", MB_OK | MB_ICONERROR);
    return 1;
  }
}
