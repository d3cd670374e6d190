// Screen resolution from the screen DC.
#include "controls/base/screen_metrics.h"

#include <windows.h>

namespace veltrin::controls {
namespace {

int ScreenCaps(int index) noexcept {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  const int value = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return value;
}

double TwipsPerPixel(int pixels_per_inch) noexcept {
  return pixels_per_inch > 0 ? 1440.0 / pixels_per_inch : 15.0;
}

}  // namespace

int ScreenPixelsPerInchX() noexcept {
  return ScreenCaps(LOGPIXELSX);
}

int ScreenPixelsPerInchY() noexcept {
  return ScreenCaps(LOGPIXELSY);
}

double TwipsPerPixelX() noexcept {
  return TwipsPerPixel(ScreenPixelsPerInchX());
}

double TwipsPerPixelY() noexcept {
  return TwipsPerPixel(ScreenPixelsPerInchY());
}

}  // namespace veltrin::controls
