// Replacement IOleControl and IPerPropertyBrowsing methods: companion first, then the host (for
// control information) or "not implemented" (for property browsing).
#include "controls/base/interception/replacement_functions.h"

#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "controls/base/com_ptr.h"
#include "controls/base/interception/companion_interfaces.h"
#include "controls/base/input_state.h"
#include "controls/base/interception/interception_state.h"

namespace veltrin::controls::interception_detail {
namespace {

template <typename Companion, typename Interface>
ComPtr<Companion> CompanionOf(Interface* self) {
  return ComPtr<Interface>(self).template Query<Companion>(__uuidof(Companion));
}

// Owns CoTaskMemAlloc blocks until they are handed to the caller.
class TaskMemory {
 public:
  TaskMemory() = default;
  TaskMemory(const TaskMemory&) = delete;
  TaskMemory& operator=(const TaskMemory&) = delete;
  ~TaskMemory() {
    if (p_) CoTaskMemFree(p_);
  }
  // Allocates `bytes`; throws std::bad_alloc when the allocator fails.
  void* Allocate(size_t bytes) {
    p_ = CoTaskMemAlloc(bytes);
    if (!p_) throw std::bad_alloc();
    return p_;
  }
  void* Release() noexcept { return std::exchange(p_, nullptr); }

 private:
  void* p_ = nullptr;  // the block, null once handed over
};

}  // namespace

HRESULT STDMETHODCALLTYPE ReplacementGetControlInfo(IOleControl* self, CONTROLINFO* info) noexcept {
  if (!info) return E_POINTER;
  try {
    info->cb = sizeof(CONTROLINFO);
    if (auto companion = CompanionOf<IOleControlVB>(self)) {
      bool handled = false;
      int32_t count = info->cAccel;
      HACCEL table = info->hAccel;
      int32_t flags = static_cast<int32_t>(info->dwFlags);
      if (SUCCEEDED(companion->GetControlInfo(handled, count, table, flags)) &&
          count <= std::numeric_limits<USHORT>::max()) {
        info->cAccel = static_cast<USHORT>(count < 0 ? 0 : count);
        info->hAccel = table;
        info->dwFlags = static_cast<DWORD>(flags);
        if (handled) return (count <= 0 || table) ? S_OK : E_OUTOFMEMORY;
      }
    }
  } catch (...) {
    // The host answers instead.
  }
  return CallHostMethod(ControlPatch(), self, kGetControlInfoEntry,
                        reinterpret_cast<const void*>(&ReplacementGetControlInfo),
                        [&] { return self->GetControlInfo(info); });
}

HRESULT STDMETHODCALLTYPE ReplacementOnMnemonic(IOleControl* self, MSG* message) noexcept {
  if (!message) return E_INVALIDARG;
  try {
    if (auto companion = CompanionOf<IOleControlVB>(self)) {
      bool handled = false;
      if (SUCCEEDED(companion->OnMnemonic(handled, message->message, message->wParam,
                                          message->lParam, ShiftStateNow())) &&
          handled)
        return S_OK;
    }
  } catch (...) {
    // The host answers instead.
  }
  return CallHostMethod(ControlPatch(), self, kOnMnemonicEntry,
                        reinterpret_cast<const void*>(&ReplacementOnMnemonic),
                        [&] { return self->OnMnemonic(message); });
}

HRESULT STDMETHODCALLTYPE ReplacementGetDisplayString(IPerPropertyBrowsing* self, DISPID disp_id,
                                                      BSTR* display_string) noexcept {
  if (!display_string) return E_POINTER;
  *display_string = nullptr;
  try {
    auto companion = CompanionOf<IPerPropertyBrowsingVB>(self);
    if (!companion) return E_NOTIMPL;
    bool handled = false;
    std::wstring name;
    if (FAILED(companion->GetDisplayString(handled, disp_id, name)) || !handled) return E_NOTIMPL;
    BSTR copy = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    if (!copy) return E_NOTIMPL;
    *display_string = copy;
    return S_OK;
  } catch (...) {
    return E_NOTIMPL;
  }
}

HRESULT STDMETHODCALLTYPE ReplacementGetPredefinedStrings(IPerPropertyBrowsing* self,
                                                          DISPID disp_id, CALPOLESTR* strings,
                                                          CADWORD* cookies) noexcept {
  if (!strings || !cookies) return E_POINTER;
  *strings = {};
  *cookies = {};
  try {
    auto companion = CompanionOf<IPerPropertyBrowsingVB>(self);
    if (!companion) return E_NOTIMPL;
    bool handled = false;
    std::vector<std::wstring> names(1);
    std::vector<int32_t> values(1);
    if (FAILED(companion->GetPredefinedStrings(handled, disp_id, names, values)) || !handled ||
        names.size() < 2)
      return E_NOTIMPL;
    // Elements 0 to n - 1 are the entries; element n is the companion's upper bound.
    const size_t count = names.size() - 1;
    values.resize(names.size());

    TaskMemory string_array;
    auto* string_elements = static_cast<LPOLESTR*>(string_array.Allocate(count * sizeof(LPOLESTR)));
    std::memset(string_elements, 0, count * sizeof(LPOLESTR));
    TaskMemory cookie_array;
    auto* cookie_elements = static_cast<DWORD*>(cookie_array.Allocate(count * sizeof(DWORD)));
    try {
      for (size_t i = 0; i < count; ++i) {
        TaskMemory text;
        const size_t bytes = (names[i].size() + 1) * sizeof(wchar_t);
        std::memcpy(text.Allocate(bytes), names[i].c_str(), bytes);
        string_elements[i] = static_cast<LPOLESTR>(text.Release());
        cookie_elements[i] = static_cast<DWORD>(values[i]);
      }
    } catch (...) {
      for (size_t i = 0; i < count; ++i) CoTaskMemFree(string_elements[i]);
      throw;
    }
    strings->cElems = static_cast<ULONG>(count);
    strings->pElems = static_cast<LPOLESTR*>(string_array.Release());
    cookies->cElems = static_cast<ULONG>(count);
    cookies->pElems = static_cast<DWORD*>(cookie_array.Release());
    return S_OK;
  } catch (...) {
    return E_NOTIMPL;
  }
}

HRESULT STDMETHODCALLTYPE ReplacementGetPredefinedValue(IPerPropertyBrowsing* self, DISPID disp_id,
                                                        DWORD cookie, VARIANT* value) noexcept {
  if (!value) return E_POINTER;
  try {
    auto companion = CompanionOf<IPerPropertyBrowsingVB>(self);
    if (!companion) return E_NOTIMPL;
    bool handled = false;
    if (SUCCEEDED(
            companion->GetPredefinedValue(handled, disp_id, static_cast<int32_t>(cookie), value)) &&
        handled)
      return S_OK;
  } catch (...) {
  }
  return E_NOTIMPL;
}

}  // namespace veltrin::controls::interception_detail
