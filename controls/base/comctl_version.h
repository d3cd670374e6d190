// The common-controls library in use: its version, whether visual styles draw the controls, and
// the registration of its window classes.
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Common-controls version classes.
enum class CommonControlsClass : int {
  kOlder = 0,  // before 6.0, or unknown
  kV60 = 1,    // 6.0
  kV61 = 2,    // 6.1 or later
};

// Returns the major version of comctl32 as reported by its DllGetVersion, or 0 when that export is
// missing or fails. The library is loaded when it is not yet; the answer of a loaded library is
// kept for the process, while one that could not be had from a loaded library is asked again next
// time (so a call made before comctl32 is loaded never fixes 0 for good).
DWORD CommonControlsMajorVersion() noexcept;

// Returns the version class of comctl32 (kOlder when it cannot be determined), kept as
// CommonControlsMajorVersion keeps its answer.
CommonControlsClass CommonControlsVersion() noexcept;

namespace detail {

// A library's version as read from it; `loaded` is false when the library was not there to ask.
struct LibraryVersion {
  bool loaded = false;
  DWORD major = 0;
  DWORD minor = 0;
};

// Remembers the first answer that came from a loaded library; until then every Get asks `query`
// (a callable returning LibraryVersion) again.
class VersionMemo {
 public:
  template <typename Query>
  LibraryVersion Get(Query&& query) noexcept {
    if (kept_.loaded) return kept_;
    const LibraryVersion answer = query();
    if (answer.loaded) kept_ = answer;
    return answer;
  }

 private:
  LibraryVersion kept_;  // not loaded until a loaded library answered
};

}  // namespace detail

// Returns the version class for a major/minor version pair (the rule behind CommonControlsVersion).
constexpr CommonControlsClass CommonControlsClassOf(DWORD major, DWORD minor) noexcept {
  if (major > 6 || (major == 6 && minor > 0)) return CommonControlsClass::kV61;
  if (major == 6) return CommonControlsClass::kV60;
  return CommonControlsClass::kOlder;
}

// Returns whether visual styles draw this process's common controls now.
bool VisualStylesActive() noexcept;

// The facts behind VisualStylesActive, so that the rule can be checked on any system.
struct VisualStyleFacts {
  DWORD common_controls_major;  // comctl32 major version
  bool theme_active;            // IsThemeActive
  bool app_themed;              // IsAppThemed
  DWORD app_properties;         // GetThemeAppProperties
};

// Returns the visual-styles answer for `facts`: never on comctl32 5.x or older, otherwise only when
// a theme is active and either the application is themed or its controls may be.
constexpr bool VisualStylesActiveFor(const VisualStyleFacts& facts) noexcept {
  if (facts.common_controls_major <= 5 || !facts.theme_active) return false;
  return facts.app_themed || (facts.app_properties & 0x2) != 0;  // STAP_ALLOW_CONTROLS
}

// Registers the common-control window classes named by the ICC_* `classes` flags
// (InitCommonControlsEx); returns whether the call succeeded.
bool InitControlClasses(DWORD classes) noexcept;

}  // namespace veltrin::controls
