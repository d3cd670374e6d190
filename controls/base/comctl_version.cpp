// Asks comctl32 for its version until a loaded library answered, and the theme API for the
// visual-styles answer each time.
#include "controls/base/comctl_version.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <uxtheme.h>

namespace veltrin::controls {
namespace {

// Asks comctl32 itself, loading it when this process has not yet (the loaded module then stays
// for the process, as the controls need it anyway). Not loaded when it cannot be loaded.
detail::LibraryVersion QueryCommonControls() noexcept {
  detail::LibraryVersion version;
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  if (!comctl) comctl = LoadLibraryW(L"comctl32.dll");
  if (!comctl) return version;
  version.loaded = true;
  auto get_version = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
  if (!get_version) return version;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  if (FAILED(get_version(&info))) return version;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  return version;
}

detail::LibraryVersion CommonControls() noexcept {
  static detail::VersionMemo memo;  // user-interface thread only
  return memo.Get(QueryCommonControls);
}

}  // namespace

DWORD CommonControlsMajorVersion() noexcept {
  return CommonControls().major;
}

CommonControlsClass CommonControlsVersion() noexcept {
  const detail::LibraryVersion version = CommonControls();
  return CommonControlsClassOf(version.major, version.minor);
}

bool VisualStylesActive() noexcept {
  VisualStyleFacts facts{CommonControlsMajorVersion(), false, false, 0};
  if (facts.common_controls_major <= 5) return false;
  facts.theme_active = IsThemeActive();
  if (!facts.theme_active) return false;
  facts.app_themed = IsAppThemed();
  if (!facts.app_themed) facts.app_properties = GetThemeAppProperties();
  return VisualStylesActiveFor(facts);
}

bool InitControlClasses(DWORD classes) noexcept {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = classes;
  return InitCommonControlsEx(&init) != FALSE;
}

}  // namespace veltrin::controls
