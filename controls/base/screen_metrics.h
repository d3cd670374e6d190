// The screen's resolution as the helpers and the host both need it: pixels per logical inch and
// the twips of one pixel. Read live on every call (no cache).
#pragma once

namespace veltrin::controls {

// Returns the screen's horizontal pixels per logical inch, or 0 when no screen DC can be had.
int ScreenPixelsPerInchX() noexcept;

// Returns the screen's vertical pixels per logical inch, or 0 when no screen DC can be had.
int ScreenPixelsPerInchY() noexcept;

// Returns the twips of one screen pixel across (1440 / LOGPIXELSX; 15 when no screen DC exists).
double TwipsPerPixelX() noexcept;

// Returns the twips of one screen pixel down (1440 / LOGPIXELSY; 15 when no screen DC exists).
double TwipsPerPixelY() noexcept;

}  // namespace veltrin::controls
