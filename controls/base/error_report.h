// Errors that have no caller to go to (a window procedure, a hook, a COM method, an event of the
// window) are reported here instead of vanishing: their number and text go to the debugger
// through OutputDebugStringW, and to an observer that the tests install.
#pragma once

#include <cstdint>
#include <string_view>

namespace veltrin::controls {

// Sees every reported error: its number (0 when the error has none) and its text.
using ErrorObserver = void (*)(int32_t number, std::wstring_view text) noexcept;

// Reports the exception being handled; call it only inside a catch block. `where` names the place
// that caught it. Never throws and never allocates.
void ReportCaughtError(std::wstring_view where) noexcept;

// Installs `observer` (null for none) and returns the one it replaces.
ErrorObserver SetErrorObserver(ErrorObserver observer) noexcept;

}  // namespace veltrin::controls
