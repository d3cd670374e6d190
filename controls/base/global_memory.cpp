// Allocation of owned global memory.
#include "controls/base/global_memory.h"

#include <algorithm>
#include <cstring>

#include "common/run_time_error.h"

namespace veltrin::controls {

GlobalMemory GlobalMemory::Allocate(size_t bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<size_t>(bytes, 1));
  if (!block) throw RunTimeError(kOutOfMemory);
  return GlobalMemory(block);
}

GlobalMemory GlobalMemory::Copy(const void* data, size_t bytes) {
  GlobalMemory memory = Allocate(bytes);
  const GlobalLockScope lock(memory.Get());
  if (!lock) throw RunTimeError(kOutOfMemory);
  if (bytes) std::memcpy(lock.Data(), data, bytes);
  return memory;
}

}  // namespace veltrin::controls
