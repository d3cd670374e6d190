// Owners of Windows kernel handles that the core opens, on the one UniqueHandle template.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

namespace veltrin {

// A file handle: CreateFileW reports failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// Closes the file now; false with the last error set when the close fails (written data may be
// lost). The owner is empty afterwards either way.
inline bool CloseNow(UniqueFileHandle& file) noexcept {
  return ::CloseHandle(file.Detach()) != 0;
}

// A directory search of FindFirstFileW.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::FindClose(handle); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace veltrin
