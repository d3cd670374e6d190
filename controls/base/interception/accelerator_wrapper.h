// The active object installed on the frame while a registered control has the focus: every call
// goes to the control's own IOleInPlaceActiveObject, except that keys go to its companion first.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "controls/base/com_ptr.h"
#include "controls/base/interception/companion_interfaces.h"

namespace veltrin::controls::interception_detail {

class AcceleratorWrapper final : public IOleInPlaceActiveObject {
 public:
  // Returns the one wrapper of the process.
  static AcceleratorWrapper& Instance() noexcept;

  // Wraps `active` and asks `companion` first; a previous pair is let go.
  void Wrap(ComPtr<IOleInPlaceActiveObject> active, ComPtr<IOleInPlaceActiveObjectVB> companion);
  // Lets go of the wrapped pair.
  void Unwrap() noexcept;
  // Returns the wrapped interface (not AddRef'ed), or null.
  IOleInPlaceActiveObject* Wrapped() const noexcept { return active_.Get(); }

  // IUnknown: only IOleInPlaceActiveObject answers with the wrapper; reference counts and other
  // interfaces are the wrapped object's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IOleWindow, forwarded.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter_mode) override;
  // IOleInPlaceActiveObject: TranslateAccelerator asks the companion first, the rest is forwarded.
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                         BOOL frame_window) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

 private:
  AcceleratorWrapper() = default;

  ComPtr<IOleInPlaceActiveObject> active_;       // the control's own interface
  ComPtr<IOleInPlaceActiveObjectVB> companion_;  // the control's companion
};

}  // namespace veltrin::controls::interception_detail
