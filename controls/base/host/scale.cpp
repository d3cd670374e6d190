// Unit conversion through twips, the unit every other unit has a fixed ratio to (pixels excepted).
#include "controls/base/host/scale.h"

#include "common/run_time_error.h"
#include "controls/base/screen_metrics.h"

namespace veltrin::controls {
namespace {

double TwipsPer(ScaleUnit unit, bool horizontal) {
  switch (unit) {
    case ScaleUnit::kTwips:
      return 1;
    case ScaleUnit::kPoints:
      return 20;
    case ScaleUnit::kPixels:
      return horizontal ? TwipsPerPixelX() : TwipsPerPixelY();
    case ScaleUnit::kCharacters:
      return horizontal ? 120 : 240;
    case ScaleUnit::kInches:
      return 1440;
    case ScaleUnit::kMillimeters:
      return 1440 / 25.4;
    case ScaleUnit::kCentimeters:
      return 1440 / 2.54;
    case ScaleUnit::kHimetric:
      return 1440 / 2540.0;
    default:
      throw RunTimeError(kInvalidProcedureCall);
  }
}

}  // namespace

double ConvertScale(double value, ScaleUnit from, ScaleUnit to, bool horizontal) {
  const double twips_from = TwipsPer(from, horizontal);
  const double twips_to = TwipsPer(to, horizontal);
  return from == to ? value : value * twips_from / twips_to;
}

}  // namespace veltrin::controls
