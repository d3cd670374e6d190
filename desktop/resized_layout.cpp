// The main window's layout at any size of the window.
#include "desktop/resized_layout.h"

#include <algorithm>
#include <string_view>

namespace veltrin::window {

namespace {

// How a control follows the extra width and height; controls not listed keep their place.
struct Anchor {
  const wchar_t* name;
  bool moves_right;  // keeps its width, follows the right edge
  bool grows_wide;   // takes the extra width
  bool grows_tall;   // takes the extra height
};

constexpr Anchor kAnchors[] = {
    {L"TextBoxW1", false, true, true},
    {L"Frame1", true, false, true},
    {L"ListBoxW1", true, false, true},
    {L"Check1", true, false, false},
};

Anchor AnchorOf(const ControlLayout& control) noexcept {
  for (const Anchor& anchor : kAnchors) {
    if (std::wstring_view(anchor.name) == control.name) return anchor;
  }
  return {control.name, control.in_frame, false, false};  // the frame's controls move with it
}

}  // namespace

RECT ResizedBounds(const ControlLayout& control, SIZE client) noexcept {
  const LONG extra_width = std::max<LONG>(0, client.cx - TwipsToPixelsX(kClientWidthTwips));
  const LONG extra_height = std::max<LONG>(0, client.cy - TwipsToPixelsY(kClientHeightTwips));
  const Anchor anchor = AnchorOf(control);
  RECT bounds = PixelBounds(control);
  if (anchor.moves_right) {
    bounds.left += extra_width;
    bounds.right += extra_width;
  }
  if (anchor.grows_wide) bounds.right += extra_width;
  if (anchor.grows_tall) bounds.bottom += extra_height;
  return bounds;
}

SIZE MinimumWindowSize(DWORD style, DWORD extended_style) noexcept {
  RECT frame{0, 0, TwipsToPixelsX(kClientWidthTwips), TwipsToPixelsY(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, extended_style);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace veltrin::window
