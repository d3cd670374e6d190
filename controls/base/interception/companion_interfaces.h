// The companion interfaces a control implements to answer, ahead of the host, the calls that the
// host's shared IOleControl, IOleInPlaceActiveObject and IPerPropertyBrowsing receive for it.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <vector>

namespace veltrin::controls {

// Every method starts with `handled` (false on entry): leaving it false lets the host's own
// implementation answer. A failed HRESULT or an exception counts as "not handled"; the callers
// catch everything, so a companion may throw.

// Control information and mnemonics, asked before the host's IOleControl.
struct IOleControlVB : public IUnknown {
  // Fills the accelerator count, the accelerator table and the CTRLINFO flags; a positive count
  // needs a table, or the host is told that memory ran out.
  virtual HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count,
                                                   HACCEL& accel_table, int32_t& flags) = 0;
  // Reacts to a mnemonic key message; shift is 1 Shift + 2 Ctrl + 4 Alt.
  virtual HRESULT STDMETHODCALLTYPE OnMnemonic(bool& handled, UINT message, WPARAM w_param,
                                               LPARAM l_param, int32_t shift) = 0;
};

// Keyboard translation, asked before the host's IOleInPlaceActiveObject::TranslateAccelerator.
struct IOleInPlaceActiveObjectVB : public IUnknown {
  // Decides about a keyboard message; when handled, ret_val (S_OK on entry) is returned to the
  // caller: S_OK means "translated, do not dispatch", S_FALSE "not translated".
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(bool& handled, HRESULT& ret_val,
                                                         UINT message, WPARAM w_param,
                                                         LPARAM l_param, int32_t shift) = 0;
};

// Property browsing, asked instead of the host's IPerPropertyBrowsing.
struct IPerPropertyBrowsingVB : public IUnknown {
  // Gives the text the property browser shows for a property's current value.
  virtual HRESULT STDMETHODCALLTYPE GetDisplayString(bool& handled, DISPID disp_id,
                                                     std::wstring& display_name) = 0;
  // Lists a property's predefined values. Both vectors arrive with one element; the companion
  // resizes them to n + 1 elements and fills elements 0 to n - 1 (n = 0: no predefined values).
  virtual HRESULT STDMETHODCALLTYPE GetPredefinedStrings(bool& handled, DISPID disp_id,
                                                         std::vector<std::wstring>& strings,
                                                         std::vector<int32_t>& cookies) = 0;
  // Stores the value of the predefined entry `cookie` in the caller's (initialised) VARIANT.
  virtual HRESULT STDMETHODCALLTYPE GetPredefinedValue(bool& handled, DISPID disp_id,
                                                       int32_t cookie, VARIANT* value) = 0;
};

inline constexpr IID IID_IOleControlVB = {
    0xC895C8F9, 0x6564, 0x4123, {0x87, 0x60, 0x52, 0x9F, 0x72, 0xAB, 0x93, 0x22}};
inline constexpr IID IID_IOleInPlaceActiveObjectVB = {
    0x38584260, 0x0CFB, 0x45E7, {0x8F, 0xBB, 0x5D, 0x20, 0xB3, 0x11, 0xF5, 0xB8}};
inline constexpr IID IID_IPerPropertyBrowsingVB = {
    0xD5D3BBE3, 0xDB60, 0x4522, {0xAF, 0x5B, 0xD7, 0x67, 0xFE, 0x73, 0x6D, 0xDB}};

}  // namespace veltrin::controls

// Lets __uuidof (and so IID_PPV_ARGS) name the companions.
__CRT_UUID_DECL(veltrin::controls::IOleControlVB, 0xC895C8F9, 0x6564, 0x4123, 0x87, 0x60, 0x52,
                0x9F, 0x72, 0xAB, 0x93, 0x22)
__CRT_UUID_DECL(veltrin::controls::IOleInPlaceActiveObjectVB, 0x38584260, 0x0CFB, 0x45E7, 0x8F,
                0xBB, 0x5D, 0x20, 0xB3, 0x11, 0xF5, 0xB8)
__CRT_UUID_DECL(veltrin::controls::IPerPropertyBrowsingVB, 0xD5D3BBE3, 0xDB60, 0x4522, 0xAF, 0x5B,
                0xD7, 0x67, 0xFE, 0x73, 0x6D, 0xDB)
