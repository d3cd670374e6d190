// Counts the GDI and USER objects of the test process, to find leaks across many cycles.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace veltrin::test {

struct GuiObjectCounts {
  DWORD gdi = 0;
  DWORD user = 0;
};

// Returns the process's GDI and USER object counts. Wine's GetGuiResources is a stub that answers
// 0; there the handle tables are probed instead: Wine accepts a handle's 16-bit index alone, so
// each index that names a live object counts once. Takes about half a second under Wine.
GuiObjectCounts CurrentGuiObjectCounts();

// Returns the names of the window properties of `window` that start with `prefix`.
std::vector<std::wstring> WindowPropertiesStartingWith(HWND window, const std::wstring& prefix);

}  // namespace veltrin::test
