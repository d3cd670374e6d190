// Asks comctl32 for its version once, and the theme API for the visual-styles answer each time.
#include "controls/base/comctl_version.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <uxtheme.h>

namespace veltrin::controls {
namespace {

struct Version {
  DWORD major = 0;
  DWORD minor = 0;
};

// Zero when comctl32 or its DllGetVersion is missing or the call fails.
Version QueryCommonControls() noexcept {
  Version version;
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  if (!comctl) return version;
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

const Version& CommonControls() noexcept {
  static const Version kVersion = QueryCommonControls();
  return kVersion;
}

}  // namespace

DWORD CommonControlsMajorVersion() noexcept {
  return CommonControls().major;
}

CommonControlsClass CommonControlsVersion() noexcept {
  return CommonControlsClassOf(CommonControls().major, CommonControls().minor);
}

bool VisualStylesActive() noexcept {
  VisualStyleFacts facts{CommonControlsMajorVersion(), false, false, 0};
  if (facts.commonControlsMajor <= 5) return false;
  facts.themeActive = IsThemeActive();
  if (!facts.themeActive) return false;
  facts.appThemed = IsAppThemed();
  if (!facts.appThemed) facts.appProperties = GetThemeAppProperties();
  return VisualStylesActiveFor(facts);
}

bool InitControlClasses(DWORD classes) noexcept {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = classes;
  return InitCommonControlsEx(&init) != FALSE;
}

}  // namespace veltrin::controls
