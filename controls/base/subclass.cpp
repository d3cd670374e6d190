// The subclassing core: install/remove bookkeeping in window properties and the shared subclass
// procedure that forwards messages to ISubclass receivers.
#include "controls/base/subclass.h"

#include <commctrl.h>

#include <string>

#include "controls/base/com_ptr.h"
#include "controls/base/error_report.h"

namespace veltrin::controls {
namespace {

constexpr std::wstring_view kDefaultName = L"ComCtl";
constexpr UINT kUahDestroyWindow = 0x90;  // sent to themed windows as they are destroyed

struct PropertyNames {
  std::wstring init;  // holds 1 while the subclass is installed
  std::wstring id;    // holds the receiver pointer
};

PropertyNames NamesFor(std::wstring_view name) {
  std::wstring base(name.empty() ? kDefaultName : name);
  return {base + L"SubclassInit", base + L"SubclassID"};
}

}  // namespace

void SubclassWindow(HWND window, ISubclass* receiver, DWORD_PTR ref_data,
                    std::wstring_view name) noexcept {
  if (!window) return;
  try {
    const PropertyNames names = NamesFor(name);
    if (GetPropW(window, names.init.c_str()) != nullptr) return;
    const auto id = reinterpret_cast<UINT_PTR>(receiver);
    SetWindowSubclass(window, SubclassProc, id, ref_data);
    SetPropW(window, names.id.c_str(), reinterpret_cast<HANDLE>(id));
    SetPropW(window, names.init.c_str(), reinterpret_cast<HANDLE>(1));
  } catch (...) {
    // Only the property names can fail (out of memory); the window is left as it was.
  }
}

void UnsubclassWindow(HWND window, std::wstring_view name) noexcept {
  if (!window) return;
  try {
    const PropertyNames names = NamesFor(name);
    if (GetPropW(window, names.init.c_str()) != reinterpret_cast<HANDLE>(1)) return;
    const auto id = reinterpret_cast<UINT_PTR>(GetPropW(window, names.id.c_str()));
    RemoveWindowSubclass(window, SubclassProc, id);
    RemovePropW(window, names.id.c_str());
    RemovePropW(window, names.init.c_str());
  } catch (...) {
    // As above: nothing was changed.
  }
}

LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param) noexcept {
  return DefSubclassProc(window, message, w_param, l_param);
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                              UINT_PTR id, DWORD_PTR ref_data) noexcept {
  switch (message) {
    case WM_DESTROY:
      return DefaultWindowProc(window, message, w_param, l_param);
    case WM_NCDESTROY:
    case kUahDestroyWindow: {
      // The two window properties are left to die with the window.
      const LRESULT result = DefaultWindowProc(window, message, w_param, l_param);
      RemoveWindowSubclass(window, SubclassProc, id);
      return result;
    }
    default:
      break;
  }
  try {
    // Hold a reference for the call: the receiver may unsubclass itself inside Message.
    const ComPtr<IUnknown> object(reinterpret_cast<IUnknown*>(id));
    const ComPtr<ISubclass> receiver = object.Query<ISubclass>(kIidSubclass);
    if (!receiver) return DefaultWindowProc(window, message, w_param, l_param);
    return receiver->Message(window, message, w_param, l_param, ref_data);
  } catch (...) {
    ReportCaughtError(L"a subclass receiver");
    return 0;
  }
}

HRESULT STDMETHODCALLTYPE SubclassReceiver::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidSubclass)) {
    *object = static_cast<ISubclass*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SubclassReceiver::AddRef() {
  if (owner_) owner_->EnterCall();
  return 2;
}

ULONG STDMETHODCALLTYPE SubclassReceiver::Release() {
  // The owner (and this receiver with it) may be deleted here: nothing is touched afterwards.
  if (CallGuarded* owner = owner_) owner->LeaveCall();
  return 1;
}

}  // namespace veltrin::controls
