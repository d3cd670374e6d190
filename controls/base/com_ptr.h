// An owning COM interface pointer: one reference held, released on every path.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace veltrin::controls {

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  // Takes a new reference on `p` (null is allowed).
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Adopts a reference the caller already owns (no AddRef).
  static ComPtr Attach(T* p) noexcept {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Gives up the reference without releasing it.
  T* Detach() noexcept { return std::exchange(p_, nullptr); }
  // Releases the reference, leaving the pointer empty.
  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Releases the current reference and returns the slot for an out-parameter to fill.
  T** Put() noexcept {
    Reset();
    return &p_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Asks the object for interface `iid`; an empty result when the query fails.
  template <typename U>
  ComPtr<U> Query(REFIID iid) const noexcept {
    ComPtr<U> result;
    if (p_) {
      if (FAILED(p_->QueryInterface(iid, result.PutVoid()))) result.Reset();
    }
    return result;
  }
  template <typename U>
  ComPtr<U> Query() const noexcept {
    return Query<U>(__uuidof(U));
  }

 private:
  T* p_ = nullptr;  // the one reference this object owns
};

}  // namespace veltrin::controls
