// Twips-to-pixel conversion of the main window's layout.
#include "desktop/layout.h"

#include <cmath>

#include "controls/base/dpi.h"

namespace veltrin::window {

namespace {

constexpr double kTwipsPerPixelAt96Dpi = 15.0;

const ControlLayout& Frame() noexcept {
  for (const ControlLayout& control : kLayout) {
    if (control.kind == ControlKind::kFrame) return control;
  }
  return kLayout[0];  // unreachable: the layout has its frame
}

}  // namespace

int TwipsToPixelsX(int twips) noexcept {
  return static_cast<int>(std::lround(twips / kTwipsPerPixelAt96Dpi * controls::DpiScaleX()));
}

int TwipsToPixelsY(int twips) noexcept {
  return static_cast<int>(std::lround(twips / kTwipsPerPixelAt96Dpi * controls::DpiScaleY()));
}

RECT PixelBounds(const ControlLayout& control) noexcept {
  int left = control.left;
  int top = control.top;
  if (control.in_frame) {
    left += Frame().left;
    top += Frame().top;
  }
  const LONG x = TwipsToPixelsX(left);
  const LONG y = TwipsToPixelsY(top);
  // Converting the far edge keeps adjacent controls' gaps even after rounding.
  return RECT{x, y, TwipsToPixelsX(left + control.width), TwipsToPixelsY(top + control.height)};
}

}  // namespace veltrin::window
