// Font comparison and GDI font creation.
#include "controls/base/fonts.h"

#include <algorithm>
#include <cmath>

#include "controls/base/screen_metrics.h"

namespace veltrin::controls {

LOGFONTW GdiFontDescription(const FontObject& font, int pixels_per_inch_y) noexcept {
  LOGFONTW description{};
  // LF_FACESIZE counts the terminator, so one character fewer fits.
  const std::wstring& name = font.Name();
  const size_t length = std::min<size_t>(name.size(), LF_FACESIZE - 1);
  name.copy(description.lfFaceName, length);
  const int points = static_cast<int>(std::nearbyint(font.Size()));
  description.lfHeight = -MulDiv(points, pixels_per_inch_y, 72);
  description.lfWeight = font.Bold() ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.Italic() ? 1 : 0;
  description.lfUnderline = font.Underline() ? 1 : 0;
  description.lfStrikeOut = font.Strikethrough() ? 1 : 0;
  description.lfCharSet = static_cast<BYTE>(font.Charset() & 0xFF);
  return description;
}

UniqueFont CreateGdiFont(const FontObject& font) noexcept {
  const LOGFONTW description = GdiFontDescription(font, ScreenPixelsPerInchY());
  return UniqueFont(CreateFontIndirectW(&description));
}

}  // namespace veltrin::controls
