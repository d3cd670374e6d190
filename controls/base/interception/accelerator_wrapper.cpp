// The accelerator wrapper and its installation as the frame's and document window's active object.
#include "controls/base/interception/accelerator_wrapper.h"

#include "controls/base/input_state.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/site_context.h"
#include "controls/base/interception/vtable_handle.h"

namespace veltrin::controls {
namespace interception_detail {

AcceleratorWrapper& AcceleratorWrapper::Instance() noexcept {
  static AcceleratorWrapper wrapper;
  return wrapper;
}

void AcceleratorWrapper::Wrap(ComPtr<IOleInPlaceActiveObject> active,
                              ComPtr<IOleInPlaceActiveObjectVB> companion) {
  active_ = std::move(active);
  companion_ = std::move(companion);
}

void AcceleratorWrapper::Unwrap() noexcept {
  companion_.Reset();
  active_.Reset();
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::QueryInterface(REFIID iid, void** result) {
  if (!result) return E_POINTER;
  if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
    *result = static_cast<IOleInPlaceActiveObject*>(this);
    AddRef();
    return S_OK;
  }
  if (!active_) {
    *result = nullptr;
    return E_NOINTERFACE;
  }
  return active_->QueryInterface(iid, result);
}

// Without a wrapped object the wrapper is a static that nobody owns: counts are nominal.
ULONG STDMETHODCALLTYPE AcceleratorWrapper::AddRef() {
  return active_ ? active_->AddRef() : 1;
}

ULONG STDMETHODCALLTYPE AcceleratorWrapper::Release() {
  return active_ ? active_->Release() : 1;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::GetWindow(HWND* window) {
  return active_ ? active_->GetWindow(window) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::ContextSensitiveHelp(BOOL enter_mode) {
  return active_ ? active_->ContextSensitiveHelp(enter_mode) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::TranslateAccelerator(MSG* message) {
  if (!message) return E_INVALIDARG;
  try {
    if (companion_) {
      bool handled = false;
      HRESULT ret_val = S_OK;
      if (SUCCEEDED(companion_->TranslateAccelerator(handled, ret_val, message->message,
                                                     message->wParam, message->lParam,
                                                     ShiftStateNow())) &&
          handled)
        return ret_val;
    }
  } catch (...) {
    // The control's own translation answers instead.
  }
  return active_ ? active_->TranslateAccelerator(message) : S_FALSE;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::OnFrameWindowActivate(BOOL activate) {
  return active_ ? active_->OnFrameWindowActivate(activate) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::OnDocWindowActivate(BOOL activate) {
  return active_ ? active_->OnDocWindowActivate(activate) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::ResizeBorder(LPCRECT border,
                                                           IOleInPlaceUIWindow* window,
                                                           BOOL frame_window) {
  return active_ ? active_->ResizeBorder(border, window, frame_window) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AcceleratorWrapper::EnableModeless(BOOL enable) {
  return active_ ? active_->EnableModeless(enable) : E_FAIL;
}

}  // namespace interception_detail

void ActivateAccelerators(IUnknown* control) noexcept {
  using interception_detail::AcceleratorWrapper;
  try {
    // The frame releases the wrapper it holds when it gets a new one; that release must still
    // reach the object it was counted on.
    if (AcceleratorWrapper::Instance().Wrapped()) DeactivateAccelerators();
    const ComPtr<IUnknown> object(control);
    auto active = object.Query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
    if (!active) return;
    IOleInPlaceActiveObject* chosen = active.Get();
    if (AcceleratorCount() >= 1) {
      if (auto companion = object.Query<IOleInPlaceActiveObjectVB>()) {
        AcceleratorWrapper::Instance().Wrap(active, std::move(companion));
        chosen = &AcceleratorWrapper::Instance();
      }
    }
    interception_detail::InPlaceWindowContext context;
    if (!interception_detail::QueryWindowContext(control, context)) return;
    context.frame->SetActiveObject(chosen, nullptr);
    if (context.document) context.document->SetActiveObject(chosen, nullptr);
  } catch (...) {
    // Keys then simply reach the control without its companion's say.
  }
}

void DeactivateAccelerators() noexcept {
  auto& wrapper = interception_detail::AcceleratorWrapper::Instance();
  if (!wrapper.Wrapped()) return;
  interception_detail::InPlaceWindowContext context;
  if (interception_detail::QueryWindowContext(wrapper.Wrapped(), context)) {
    context.frame->SetActiveObject(nullptr, nullptr);
    if (context.document) context.document->SetActiveObject(nullptr, nullptr);
  }
  wrapper.Unwrap();
}

}  // namespace veltrin::controls
