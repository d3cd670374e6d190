// OLE_COLOR to RGB, including the system colours that a set high bit names.
#pragma once

#include <windows.h>
#include <ocidl.h>

namespace veltrin::controls {

inline constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

// Returns the RGB value of `color` (a system colour is looked up now), or kInvalidColor when the
// colour cannot be translated.
COLORREF TranslateColor(OLE_COLOR color, HPALETTE palette = nullptr) noexcept;

}  // namespace veltrin::controls
