// Property browsing of the text box: MousePointer shows and offers the named pointer values; every
// other property is left to the host.
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/mouse_pointers.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls {
namespace {

constexpr DISPID kMousePointerDispatchId = 0x100;

}  // namespace

std::span<const DispatchName> TextBoxW::DispatchNames() const {
  static constexpr DispatchName kNames[] = {{L"MousePointer", kMousePointerDispatchId}};
  return kNames;
}

void TextBoxW::LookUpMousePointerDispId() noexcept {
  if (mouse_pointer_disp_id_ != 0) return;
  try {
    mouse_pointer_disp_id_ = GetDispId(ControlUnknown(), L"MousePointer");
  } catch (...) {
    // Without the identifier MousePointer is browsed as the host's default does.
  }
}

bool TextBoxW::BrowsesMousePointer(DISPID disp_id) const noexcept {
  return mouse_pointer_disp_id_ != 0 && disp_id == mouse_pointer_disp_id_;
}

HRESULT STDMETHODCALLTYPE TextBoxW::GetDisplayString(bool& handled, DISPID disp_id,
                                                     std::wstring& display_name) {
  if (BrowsesMousePointer(disp_id)) handled = MousePointerName(mouse_pointer_, display_name);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TextBoxW::GetPredefinedStrings(bool& handled, DISPID disp_id,
                                                         std::vector<std::wstring>& strings,
                                                         std::vector<int32_t>& cookies) {
  if (!BrowsesMousePointer(disp_id)) return S_OK;
  MousePointerList(strings, cookies);
  handled = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TextBoxW::GetPredefinedValue(bool& handled, DISPID disp_id,
                                                       int32_t cookie, VARIANT* value) {
  if (!BrowsesMousePointer(disp_id) || !value) return S_OK;
  VariantClear(value);
  V_VT(value) = VT_I4;
  V_I4(value) = cookie;
  handled = true;
  return S_OK;
}

}  // namespace veltrin::controls
