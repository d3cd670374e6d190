// Copies into and out of global memory blocks.
#include "controls/base/global_memory.h"

#include <cstring>
#include <new>

namespace veltrin::controls {

UniqueGlobal CopyToGlobal(const std::vector<std::byte>& bytes) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
  void* data = memory ? GlobalLock(memory.Get()) : nullptr;
  if (data == nullptr) throw std::bad_alloc();
  std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory.Get());
  return memory;
}

std::vector<std::byte> CopyFromGlobal(HGLOBAL memory) {
  if (memory == nullptr) return {};
  const void* data = GlobalLock(memory);
  if (data == nullptr) return {};
  const auto* first = static_cast<const std::byte*>(data);
  std::vector<std::byte> bytes(first, first + GlobalSize(memory));
  GlobalUnlock(memory);
  return bytes;
}

}  // namespace veltrin::controls
