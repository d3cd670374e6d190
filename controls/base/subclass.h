// Routes the messages of a native window to a receiver object through the common-controls subclass
// chain, so that several receivers can share one window (newest first) without their own
// procedures.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string_view>
#include <type_traits>

#include "controls/base/window/call_guard.h"

namespace veltrin::controls {

// {A25C9158-8D07-4978-A464-16AA034A5603}
inline constexpr IID kIidSubclass = {
    0xA25C9158, 0x8D07, 0x4978, {0xA4, 0x64, 0x16, 0xAA, 0x03, 0x4A, 0x56, 0x03}};

// The message receiver. `Message` gets every message of a subclassed window except the destruction
// messages and returns the message result; `ref_data` is the number the receiver gave at install
// time. A receiver that wants default handling calls DefaultWindowProc itself. A C++ exception
// thrown by `Message` is swallowed and the message result becomes 0.
struct ISubclass : public IUnknown {
  virtual LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param,
                                            LPARAM l_param, DWORD_PTR ref_data) = 0;
};

// Installs the subclass `name` (empty means "ComCtl") on `window` for `receiver` with `ref_data`.
// Does nothing for a null window or when a subclass of that name is already installed. The core
// keeps no reference on the receiver: it must unsubclass before it goes away.
void SubclassWindow(HWND window, ISubclass* receiver, DWORD_PTR ref_data,
                    std::wstring_view name = {}) noexcept;

// Reference numbers are signed (the controls number their windows 1 to 3, the common-dialog hooks
// -1 to -10) but travel as the subclass data, a DWORD_PTR. These convert between the two without
// losing the sign at either pointer size; a receiver reads its number as RefNumber(refData).
constexpr LONG_PTR RefNumber(DWORD_PTR ref_data) noexcept {
  return static_cast<LONG_PTR>(ref_data);
}
constexpr DWORD_PTR RefData(LONG_PTR ref_number) noexcept {
  return static_cast<DWORD_PTR>(ref_number);
}

// Installs the subclass with a signed reference number (see RefNumber); otherwise as above.
template <typename Number>
requires std::is_integral_v<Number> && std::is_signed_v<Number>
void SubclassWindow(HWND window, ISubclass* receiver, Number ref_number,
                    std::wstring_view name = {}) noexcept {
  SubclassWindow(window, receiver, RefData(static_cast<LONG_PTR>(ref_number)), name);
}

// Removes the subclass `name` (empty means "ComCtl") from `window` and its two window properties.
// Does nothing for a null window or when no such subclass is recorded on the window.
void UnsubclassWindow(HWND window, std::wstring_view name = {}) noexcept;

// Passes a message on down the subclass chain of `window` and returns its result.
LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param) noexcept;

// The one subclass procedure behind every SubclassWindow: `id` is the receiver's interface pointer.
// Never throws; removes its own subclass when the window is destroyed.
LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                              UINT_PTR id, DWORD_PTR ref_data) noexcept;

// An ISubclass whose lifetime belongs to its C++ owner. Built with a guarded owner, the references
// the subclass procedure takes for a call keep that owner alive (see CallGuarded), so a receiver
// whose owner is deleted inside Message is freed only after the call; built without one,
// reference counting is answered but never deletes. Derive from it when a receiver is not
// otherwise a COM object.
class SubclassReceiver : public ISubclass {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

 protected:
  SubclassReceiver() = default;
  explicit SubclassReceiver(CallGuarded& owner) noexcept : owner_(&owner) {}
  ~SubclassReceiver() = default;

 private:
  CallGuarded* owner_ = nullptr;  // kept alive while the subclass procedure holds a reference
};

}  // namespace veltrin::controls

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(veltrin::controls::ISubclass, 0xA25C9158, 0x8D07, 0x4978, 0xA4, 0x64, 0x16, 0xAA,
                0x03, 0x4A, 0x56, 0x03)
#endif
