// The host's hidden main window of the current thread, and the installation markers that tell
// every copy of the interception in that thread that a shared table is already patched.
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Marker names: the value is 1 while the corresponding patch is installed.
inline constexpr wchar_t kControlInitMarker[] = L"VTableSubclassControlInit";
inline constexpr wchar_t kPropertyBrowsingInitMarker[] = L"VTableSubclassPPBInit";

// Returns the first unowned top-level window of the current thread whose class name starts with
// "Thunder" and holds "Main" only as its last four characters, or null when there is none.
HWND FindHostMainWindow() noexcept;

// Says whether the marker is set: as a property of the host main window when one exists,
// otherwise in the current thread's own marker store.
bool InstallMarkerPresent(const wchar_t* name) noexcept;
// Sets the marker to 1 in the same place InstallMarkerPresent looks.
void SetInstallMarker(const wchar_t* name) noexcept;
// Removes the marker from that place (nothing happens when it is absent).
void RemoveInstallMarker(const wchar_t* name) noexcept;

}  // namespace veltrin::controls
