// Scale units of forms and user controls and the conversion between them; pixels convert through
// the screen's twips per pixel (screen_metrics.h).
#pragma once

#include <cstdint>

namespace veltrin::controls {

// The automation scale modes; the container units stand for the form's own scale mode.
enum class ScaleUnit : int16_t {
  kTwips = 1,
  kPoints = 2,
  kPixels = 3,
  kCharacters = 4,  // 120 twips across, 240 down
  kInches = 5,
  kMillimeters = 6,
  kCentimeters = 7,
  kHimetric = 8,  // 1/100 mm
  kContainerPosition = 9,
  kContainerSize = 10,
};

// Converts `value` between two units along one axis. The container units must have been resolved
// by the caller; passing them (or an unknown unit) raises RunTimeError 5.
double ConvertScale(double value, ScaleUnit from, ScaleUnit to, bool horizontal);

}  // namespace veltrin::controls
