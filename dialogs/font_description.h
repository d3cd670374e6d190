// The LOGFONTW that the font dialog starts from, built from the font properties.
#pragma once

#include <windows.h>

#include <string>

namespace veltrin::dialogs {

struct FontProperties {
  std::wstring name;
  float size = 8.0F;  // points
  bool bold = false;
  bool italic = false;
  bool strikethru = false;
  bool underline = false;
  int16_t charset = 0;
};

// Returns the description: height from the size rounded half to even at `pixels_per_inch`, weight
// 700 or 400, the effects, the low byte of the charset, and the first 32 characters of the name
// (the face-name field keeps its final NUL only when the name is shorter).
LOGFONTW MakeLogFont(const FontProperties& font, int pixels_per_inch);

// Returns the face name of `font` up to its first NUL (never past the field).
std::wstring FaceName(const LOGFONTW& font);

}  // namespace veltrin::dialogs
