// A minimal IPrintDialogCallback in task memory.
#include "controls/base/print_dialog_callback.h"

#include <new>

#include "controls/base/common_dialog_hooks.h"

namespace veltrin::controls {
namespace {

class PrintDialogCallback final : public IPrintDialogCallback {
 public:
  explicit PrintDialogCallback(ISubclass* receiver) noexcept : receiver_(receiver) {}

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
  HRESULT STDMETHODCALLTYPE HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT* result) override {
    if (message == WM_INITDIALOG && receiver_ != nullptr) {
      DeliverToReceiver(receiver_, dialog, message, wParam, lParam, kHookPrint);
    }
    if (result != nullptr) *result = 0;
    return S_FALSE;
  }

 private:
  ULONG references_ = 0;  // starts at 0: the dialog's QueryInterface takes the first
  ISubclass* receiver_;   // not counted: the receiver outlives the dialog
};

}  // namespace

IUnknown* CreatePrintDialogCallback(ISubclass* receiver) noexcept {
  void* memory = CoTaskMemAlloc(sizeof(PrintDialogCallback));
  if (memory == nullptr) return nullptr;
  return new (memory) PrintDialogCallback(receiver);
}

}  // namespace veltrin::controls
