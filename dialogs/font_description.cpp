// Builds and reads the font dialog's LOGFONTW.
#include "dialogs/font_description.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace veltrin::dialogs {

LOGFONTW MakeLogFont(const FontProperties& font, int pixels_per_inch) {
  LOGFONTW description{};
  const auto points = static_cast<int>(std::nearbyint(font.size));  // ties go to even
  description.lfHeight = -MulDiv(points, pixels_per_inch, 72);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.italic ? 1 : 0;
  description.lfUnderline = font.underline ? 1 : 0;
  description.lfStrikeOut = font.strikethru ? 1 : 0;
  description.lfCharSet = static_cast<BYTE>(font.charset & 0xFF);
  // The field keeps its final NUL: a longer name is cut to LF_FACESIZE - 1 characters.
  std::copy_n(font.name.begin(), std::min<size_t>(font.name.size(), LF_FACESIZE - 1),
              description.lfFaceName);
  return description;
}

std::wstring FaceName(const LOGFONTW& font) {
  return std::wstring(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
}

}  // namespace veltrin::dialogs
