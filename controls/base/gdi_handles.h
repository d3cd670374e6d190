// Owning GDI object handles.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

namespace veltrin::controls {

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

// An owned font, deleted with DeleteObject.
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;

struct DeviceContextTraits {
  using Handle = HDC;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { DeleteDC(handle); }
};

// An owned device or information context (CreateDC, CreateIC, a print dialog's hDC), deleted
// with DeleteDC.
using UniqueDeviceContext = UniqueHandle<DeviceContextTraits>;

}  // namespace veltrin::controls
