// Owning window and brush handles of the control host.
#pragma once

#include <windows.h>

#include "controls/base/gdi_handles.h"
#include "common/unique_handle.h"

namespace veltrin::controls {

struct WindowTraits {
  using Handle = HWND;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept {
    if (IsWindow(handle)) DestroyWindow(handle);
  }
};

// An owned window, destroyed with DestroyWindow unless it is gone already.
using UniqueWindow = UniqueHandle<WindowTraits>;
// An owned brush, deleted with DeleteObject.
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

}  // namespace veltrin::controls
