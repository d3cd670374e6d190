// A minimal IPrintDialogCallback in task memory.
#include "dialogs/print_dialog_callback.h"

#include <new>

#include "dialogs/dialog_hooks.h"

namespace veltrin::dialogs {
namespace {

class PrintDialogCallback final : public IPrintDialogCallback {
 public:
  explicit PrintDialogCallback(controls::MessageHandler& hook) noexcept : hook_(hook) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!IsEqualIID(iid, IID_IPrintDialogCallback)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IPrintDialogCallback*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      this->~PrintDialogCallback();
      CoTaskMemFree(this);
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE InitDone() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SelectionChange() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE HandleMessage(HWND dialog, UINT message, WPARAM w_param, LPARAM l_param,
                                          LRESULT* result) override {
    if (message == WM_INITDIALOG) DialogHook::Deliver(hook_, dialog, message, w_param, l_param);
    if (result != nullptr) *result = 0;
    return S_FALSE;
  }

 private:
  ULONG references_ = 0;            // starts at 0: the dialog's QueryInterface takes the first
  controls::MessageHandler& hook_;  // outlives the dialog
};

}  // namespace

IUnknown* CreatePrintDialogCallback(controls::MessageHandler& hook) noexcept {
  void* memory = CoTaskMemAlloc(sizeof(PrintDialogCallback));
  if (memory == nullptr) return nullptr;
  return new (memory) PrintDialogCallback(hook);
}

}  // namespace veltrin::dialogs
