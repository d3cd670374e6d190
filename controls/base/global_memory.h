// Movable global memory by RAII: an owned HGLOBAL (freed on every path, able to take back a block
// a dialog replaced) and a lock held for a scope.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

namespace veltrin::controls {

class GlobalMemory {
 public:
  GlobalMemory() noexcept = default;
  // Takes ownership of `block` (null allowed).
  explicit GlobalMemory(HGLOBAL block) noexcept : block_(block) {}
  GlobalMemory(GlobalMemory&& other) noexcept : block_(other.Detach()) {}
  GlobalMemory& operator=(GlobalMemory&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;
  ~GlobalMemory() { Reset(); }

  // Allocates `bytes` (at least 1) of zeroed movable memory. Throws RunTimeError 7 when memory
  // runs out.
  static GlobalMemory Allocate(size_t bytes);
  // Allocates a block holding a copy of `bytes` bytes at `data`; throws as Allocate does.
  static GlobalMemory Copy(const void* data, size_t bytes);

  // Frees the held block (if any) and takes `block` instead.
  void Reset(HGLOBAL block = nullptr) noexcept {
    if (HGLOBAL old = std::exchange(block_, block)) GlobalFree(old);
  }
  // Takes back the block a call handed out and may have replaced (the printer dialogs swap
  // their DEVMODE and DEVNAMES blocks): the old block is freed unless it is the one returned.
  void TakeBack(HGLOBAL returned) noexcept {
    if (returned == block_) return;
    Reset(returned);
  }
  // Gives up ownership (for a call that takes the block, such as SetClipboardData).
  HGLOBAL Detach() noexcept { return std::exchange(block_, nullptr); }

  HGLOBAL Get() const noexcept { return block_; }
  bool Empty() const noexcept { return block_ == nullptr; }
  explicit operator bool() const noexcept { return block_ != nullptr; }
  // The block's size in bytes (0 for none).
  size_t Size() const noexcept { return block_ ? GlobalSize(block_) : 0; }

 private:
  HGLOBAL block_ = nullptr;  // owned; null when empty
};

// Keeps a global memory block locked for the scope; Data is null when the lock failed.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) noexcept
      : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;

  void* Data() const noexcept { return data_; }
  template <typename T>
  T* As() const noexcept {
    return static_cast<T*>(data_);
  }
  size_t Size() const noexcept { return data_ ? GlobalSize(block_) : 0; }
  explicit operator bool() const noexcept { return data_ != nullptr; }

 private:
  HGLOBAL block_;  // not owned
  void* data_;     // the locked address; null when the lock failed
};

// An owned STGMEDIUM, released with ReleaseStgMedium on every path.
class StorageMedium {
 public:
  StorageMedium() noexcept = default;
  StorageMedium(const StorageMedium&) = delete;
  StorageMedium& operator=(const StorageMedium&) = delete;
  ~StorageMedium() { Reset(); }

  // Releases what is held and returns the empty medium for a call to fill (IDataObject::GetData).
  STGMEDIUM* Put() noexcept {
    Reset();
    return &medium_;
  }
  const STGMEDIUM& Get() const noexcept { return medium_; }
  // Releases the held medium now.
  void Reset() noexcept {
    if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
    medium_ = STGMEDIUM{};
  }

 private:
  STGMEDIUM medium_{};  // tymed TYMED_NULL when empty
};

}  // namespace veltrin::controls
