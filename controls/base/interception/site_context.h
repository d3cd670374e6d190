// Reaching a control's in-place site: its client site and the window context it reports.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "controls/base/com_ptr.h"

namespace veltrin::controls::interception_detail {

// What IOleInPlaceSite::GetWindowContext reports.
struct InPlaceWindowContext {
  ComPtr<IOleInPlaceFrame> frame;        // never empty after a successful query
  ComPtr<IOleInPlaceUIWindow> document;  // empty when the frame is also the document window
  RECT position{};                       // the object's position in its window
  RECT clip{};                           // the visible part of that position
  OLEINPLACEFRAMEINFO frame_info{};      // the frame's accelerators (owned by the container)
};

// Returns the client site of `object` (through IOleObject), or an empty pointer.
ComPtr<IOleClientSite> ClientSiteOf(IUnknown* object) noexcept;

// Asks the in-place site of `object` for its window context; false when any step fails.
bool QueryWindowContext(IUnknown* object, InPlaceWindowContext& context) noexcept;

}  // namespace veltrin::controls::interception_detail
