// Owners of POSIX handles, on the one UniqueHandle template.
#pragma once

#include <unistd.h>

#include "common/unique_handle.h"

namespace veltrin {

struct FileDescriptorTraits {
  using Handle = int;
  static Handle Empty() noexcept { return -1; }
  static void Close(Handle fd) noexcept { ::close(fd); }
};
using UniqueFileDescriptor = UniqueHandle<FileDescriptorTraits>;

// Closes the descriptor now and reports failure by errno, since a failed close can lose written
// data; the owner is empty afterwards either way.
inline bool CloseNow(UniqueFileDescriptor& fd) noexcept {
  return ::close(fd.Detach()) == 0;
}

}  // namespace veltrin
