// The controls' MousePointer values: the system cursor each one shows and the names that property
// browsing offers for them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace veltrin::controls {

inline constexpr int kMousePointerCustom = 99;

// Returns the system cursor identifier (IDC_ARROW's 32512, ...) for a MousePointer value, or 0 for
// a value without a system cursor (0 default, 99 custom, anything unknown).
int MousePointerCursorId(int mouse_pointer) noexcept;

// Returns the shared system cursor for a MousePointer value, or null when it has none.
HCURSOR LoadMousePointerCursor(int mouse_pointer) noexcept;

// Sets `name` to the display name of a MousePointer value ("3 - I-Beam"); leaves it unchanged for
// a value that has no name. Returns whether the value has one.
bool MousePointerName(int mouse_pointer, std::wstring& name);

// Fills `names` and `cookies` with the 18 named values in order, each array sized 19 (indexes 0 to
// 18, the last left empty) as property browsing expects.
void MousePointerList(std::vector<std::wstring>& names, std::vector<int32_t>& cookies);

}  // namespace veltrin::controls
