// Reference counting and QueryInterface shared by the library's own COM objects: each starts with
// the one reference its creator owns and deletes itself when the last reference goes.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace veltrin::controls {

// Implements AddRef and Release for every interface in `Interfaces`; the derived class answers
// QueryInterface and keeps its destructor private so that only Release deletes it.
template <typename... Interfaces>
class ComRefCounted : public Interfaces... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  ComRefCounted() noexcept = default;
  virtual ~ComRefCounted() = default;

 private:
  LONG references_ = 1;
};

// A COM object with one interface: QueryInterface answers IUnknown and `Interface`, E_NOINTERFACE
// otherwise, and E_POINTER for a null out-parameter.
template <typename Interface>
class ComObject : public ComRefCounted<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != __uuidof(Interface)) return E_NOINTERFACE;
    this->AddRef();
    *object = static_cast<Interface*>(this);
    return S_OK;
  }
};

// Hands `value` out through a QueryInterface out-parameter with a new reference; returns S_OK.
template <typename T>
HRESULT HandOutInterface(T* value, void** object) noexcept {
  value->AddRef();
  *object = value;
  return S_OK;
}

}  // namespace veltrin::controls
