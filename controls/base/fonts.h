// GDI fonts from font objects: the description and creation of the GDI font a native window draws
// with (font comparison is FontsEqual beside FontObject).
#pragma once

#include "controls/base/gdi_handles.h"
#include "controls/base/host/font_object.h"

namespace veltrin::controls {

// Builds the LOGFONTW that CreateGdiFont uses: face name (at most 31 characters), height from the
// size rounded to whole points (half to even) at `pixels_per_inch_y`, weight 700 or 400 by Bold,
// italic/underline/strike-out flags, the low byte of the charset, everything else 0.
LOGFONTW GdiFontDescription(const FontObject& font, int pixels_per_inch_y) noexcept;

// Creates a GDI font for `font` at the screen's vertical resolution; the result is empty when GDI
// refuses.
UniqueFont CreateGdiFont(const FontObject& font) noexcept;

}  // namespace veltrin::controls
