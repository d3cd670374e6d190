// One template for owning handles: the owner closes its handle on every path; a default-built or
// moved-from owner is empty.
#pragma once

#include <utility>

namespace veltrin {

// Traits supply `using Handle = ...;`, `static Handle Empty()` and `static void Close(Handle)`.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  // Takes ownership of `handle` (an empty handle is allowed).
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  // Closes the held handle (if any) and takes `handle` instead.
  void Reset(Handle handle = Traits::Empty()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Empty()) Traits::Close(old);
  }
  // Gives up ownership without closing; the owner becomes empty.
  Handle Detach() noexcept { return std::exchange(handle_, Traits::Empty()); }

  Handle Get() const noexcept { return handle_; }
  bool Empty() const noexcept { return handle_ == Traits::Empty(); }
  explicit operator bool() const noexcept { return !Empty(); }

 private:
  Handle handle_ = Traits::Empty();  // the owned handle, or Traits::Empty()
};

}  // namespace veltrin
