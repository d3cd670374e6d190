// DPI factors from the screen metrics, cached on first use.
#include "controls/base/dpi.h"

#include "controls/base/screen_metrics.h"

namespace veltrin::controls {

double DpiScaleX() noexcept {
  static const double kScale = ScreenPixelsPerInchX() / 96.0;
  return kScale;
}

double DpiScaleY() noexcept {
  static const double kScale = ScreenPixelsPerInchY() / 96.0;
  return kScale;
}

float DpiCorrectionFactorFor(int pixels_per_inch_x, double twips_per_pixel_x) noexcept {
  if (pixels_per_inch_x == 0 || twips_per_pixel_x == 0) return 1.0f;
  return static_cast<float>(96.0 / pixels_per_inch_x * 15.0 / twips_per_pixel_x);
}

float DpiCorrectionFactor() noexcept {
  static const float kFactor = DpiCorrectionFactorFor(ScreenPixelsPerInchX(), TwipsPerPixelX());
  return kFactor;
}

}  // namespace veltrin::controls
