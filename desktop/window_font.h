// The font of every visible control of the main window, with a fallback where its face is missing.
#pragma once

#include <string>

#include "controls/base/host/property_value.h"

namespace veltrin::window {

inline constexpr wchar_t kPreferredFace[] = L"微软雅黑";
inline constexpr double kFontPoints = 9;
inline constexpr int16_t kFontWeight = 400;
inline constexpr int16_t kFontCharset = 134;  // GB2312

// Returns the preferred face when the system has it; otherwise a known Chinese face that it has,
// else any face with the GB2312 character set, else the preferred name (the font mapper decides).
std::wstring ChineseFaceName();

// Returns a new font object: the face above, 9 points, weight 400, character set 134.
controls::FontRef MakeWindowFont();

}  // namespace veltrin::window
