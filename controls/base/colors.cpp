// Colour translation through OLE, which knows the system colour table and palette indexes.
#include "controls/base/colors.h"

#include <olectl.h>

namespace veltrin::controls {

COLORREF TranslateColor(OLE_COLOR color, HPALETTE palette) noexcept {
  COLORREF rgb = 0;
  return SUCCEEDED(OleTranslateColor(color, palette, &rgb)) ? rgb : kInvalidColor;
}

}  // namespace veltrin::controls
