// Finding the host main window, and the installation markers kept on it (or per thread).
#include "controls/base/interception/host_main_window.h"

#include <set>
#include <string>
#include <string_view>

namespace veltrin::controls {
namespace {

bool IsHostMainClassName(std::wstring_view name) {
  constexpr std::wstring_view kPrefix = L"Thunder";
  constexpr std::wstring_view kMain = L"Main";
  return name.starts_with(kPrefix) && name.size() >= kPrefix.size() + kMain.size() &&
         name.find(kMain) == name.size() - kMain.size();
}

BOOL CALLBACK FindHostMainWindowProc(HWND window, LPARAM found) {
  if (GetWindow(window, GW_OWNER)) return TRUE;
  wchar_t class_name[256] = {};
  const int length = GetClassNameW(window, class_name, 256);
  if (length <= 0 || !IsHostMainClassName({class_name, static_cast<size_t>(length)})) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Markers of a thread that has no host main window.
std::set<std::wstring>& ThreadMarkers() {
  thread_local std::set<std::wstring> markers;
  return markers;
}

}  // namespace

HWND FindHostMainWindow() noexcept {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindHostMainWindowProc, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool InstallMarkerPresent(const wchar_t* name) noexcept {
  if (HWND main = FindHostMainWindow()) return GetPropW(main, name) != nullptr;
  try {
    return ThreadMarkers().contains(name);
  } catch (...) {
    return false;
  }
}

void SetInstallMarker(const wchar_t* name) noexcept {
  if (HWND main = FindHostMainWindow()) {
    SetPropW(main, name, reinterpret_cast<HANDLE>(1));
    return;
  }
  try {
    ThreadMarkers().insert(name);
  } catch (...) {
    // Without the marker a second copy in this thread would patch the same table again; its
    // patch then chains to ours, which still behaves.
  }
}

void RemoveInstallMarker(const wchar_t* name) noexcept {
  if (HWND main = FindHostMainWindow()) {
    RemovePropW(main, name);
    return;
  }
  try {
    ThreadMarkers().erase(name);
  } catch (...) {
  }
}

}  // namespace veltrin::controls
