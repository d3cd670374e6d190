// Owning movable global memory (HGLOBAL), as the common dialogs exchange DEVMODE and DEVNAMES.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "common/unique_handle.h"

namespace veltrin::controls {

struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle memory) noexcept { GlobalFree(memory); }
};

// A global memory block freed with GlobalFree. A dialog that replaces a block hands the new one
// back through Reset.
using UniqueGlobal = UniqueHandle<GlobalTraits>;

// Returns a movable block holding `bytes`; throws std::bad_alloc when none can be had.
UniqueGlobal CopyToGlobal(const std::vector<std::byte>& bytes);

// Returns the block's bytes (empty for a null or unlockable block).
std::vector<std::byte> CopyFromGlobal(HGLOBAL memory);

}  // namespace veltrin::controls
