// The functions written into the host's shared IOleControl and IPerPropertyBrowsing tables: they
// ask the control's companion first. None of them lets an exception escape.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

namespace veltrin::controls::interception_detail {

// Returns E_POINTER for a null info; the companion's answer when it handles the call (S_OK, or
// E_OUTOFMEMORY for a positive accelerator count without a table); otherwise the host's answer.
HRESULT STDMETHODCALLTYPE ReplacementGetControlInfo(IOleControl* self, CONTROLINFO* info) noexcept;
// Returns E_INVALIDARG for a null message; S_OK when the companion handles it; otherwise the
// host's answer.
HRESULT STDMETHODCALLTYPE ReplacementOnMnemonic(IOleControl* self, MSG* message) noexcept;

// Returns E_POINTER for a null result; S_OK with a new string when the companion handles it;
// otherwise E_NOTIMPL.
HRESULT STDMETHODCALLTYPE ReplacementGetDisplayString(IPerPropertyBrowsing* self, DISPID disp_id,
                                                      BSTR* display_string) noexcept;
// Returns E_POINTER when either result is null; S_OK with task-memory arrays when the companion
// handles it with at least one string; otherwise E_NOTIMPL.
HRESULT STDMETHODCALLTYPE ReplacementGetPredefinedStrings(IPerPropertyBrowsing* self,
                                                          DISPID disp_id, CALPOLESTR* strings,
                                                          CADWORD* cookies) noexcept;
// Returns E_POINTER for a null result; S_OK when the companion handles it; otherwise E_NOTIMPL.
HRESULT STDMETHODCALLTYPE ReplacementGetPredefinedValue(IPerPropertyBrowsing* self, DISPID disp_id,
                                                        DWORD cookie, VARIANT* value) noexcept;

}  // namespace veltrin::controls::interception_detail
