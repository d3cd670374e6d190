// The DPI scale factors and the correction factor between the screen's resolution and the host's
// twips per pixel, cached for the process: they never follow a DPI change.
#pragma once

namespace veltrin::controls {

// Returns horizontal pixels per inch / 96 (1 at 96 DPI). Computed once for the process.
double DpiScaleX() noexcept;

// Returns vertical pixels per inch / 96 (1 at 96 DPI). Computed once for the process.
double DpiScaleY() noexcept;

// Returns 96 / pixels per inch × 15 / twips per pixel: 1 when the host's twips per pixel agree
// with the screen's resolution (the rule behind DpiCorrectionFactor); 1 for a zero input.
float DpiCorrectionFactorFor(int pixels_per_inch_x, double twips_per_pixel_x) noexcept;

// Returns DpiCorrectionFactorFor the screen and the host's horizontal twips per pixel. Computed
// once for the process.
float DpiCorrectionFactor() noexcept;

}  // namespace veltrin::controls
