// Minimal stand-ins for a control host's shared OLE implementations, its in-place site, and a
// control that implements the companion interfaces, for the interception tests. Tests reach the
// fakes only through the interface pointers the accessors return, so that every call really goes
// through the (shared, patchable) virtual tables.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/base/interception/companion_interfaces.h"

namespace veltrin::controls::testing {

// Distinct success codes: they tell which implementation answered.
inline constexpr HRESULT kHostGetControlInfo = MAKE_HRESULT(0, FACILITY_ITF, 0x201);
inline constexpr HRESULT kHostOnMnemonic = MAKE_HRESULT(0, FACILITY_ITF, 0x202);
inline constexpr HRESULT kHostTranslateAccelerator = MAKE_HRESULT(0, FACILITY_ITF, 0x203);
inline constexpr HRESULT kHostGetDisplayString = MAKE_HRESULT(0, FACILITY_ITF, 0x204);
inline constexpr HRESULT kHostMapPropertyToPage = MAKE_HRESULT(0, FACILITY_ITF, 0x205);
inline constexpr HRESULT kHostGetPredefinedStrings = MAKE_HRESULT(0, FACILITY_ITF, 0x206);
inline constexpr HRESULT kHostGetPredefinedValue = MAKE_HRESULT(0, FACILITY_ITF, 0x207);

// One keyboard message as a companion received it.
struct KeyCall {
  UINT message;
  WPARAM w_param;
  LPARAM l_param;
  int32_t shift;
  bool operator==(const KeyCall&) const = default;
};

// A control's companion implementations, with scripted answers and a log of what they received.
class FakeCompanions;
// The host's in-place site, frame, document window and control site.
class FakeSite;
// The host's shared implementation of a user control's standard interfaces.
class FakeHostControl;

// Scripted answers of FakeCompanions.
struct CompanionScript {
  bool control_info = true;       // exposes IOleControlVB
  bool accelerators = true;       // exposes IOleInPlaceActiveObjectVB
  bool property_browsing = true;  // exposes IPerPropertyBrowsingVB
  bool throws = false;            // every companion method throws

  bool info_handled = false;
  int32_t accel_count = 0;
  HACCEL accel_table = nullptr;
  int32_t info_flags = 0;

  bool mnemonic_handled = false;
  bool translate_handled = false;
  HRESULT translate_result = S_OK;

  bool display_handled = false;
  std::wstring display_name;
  bool strings_handled = false;
  std::vector<std::wstring> strings;  // entries 0 to n - 1 (the vector is sized n + 1 from them)
  std::vector<int32_t> cookies;       // sized n + 1 too unless cookie_bound says otherwise
  int cookie_bound = -1;              // >= 0: the cookie vector's upper bound instead
  bool value_handled = false;
  int32_t value = 0;  // stored as VT_I4
};

// Returned pointers carry no reference; the objects live as long as the test's instance.
class FakeCompanionsHandle {
 public:
  FakeCompanionsHandle();
  ~FakeCompanionsHandle();
  FakeCompanionsHandle(const FakeCompanionsHandle&) = delete;
  FakeCompanionsHandle& operator=(const FakeCompanionsHandle&) = delete;

  CompanionScript& Script();
  IUnknown* Unknown();
  const std::vector<KeyCall>& Mnemonics() const;
  const std::vector<KeyCall>& Translations() const;
  const std::vector<DISPID>& DispIds() const;  // of every property-browsing call
  ULONG RefCount() const;

 private:
  FakeCompanions* impl_;
};

// Recorded conversation of FakeSite.
struct SiteLog {
  std::vector<IOleInPlaceActiveObject*> frame_active;     // every SetActiveObject on the frame
  std::vector<IOleInPlaceActiveObject*> document_active;  // the same on the document window
  int control_info_changed = 0;
  std::vector<BOOL> focus;
};

class FakeSiteHandle {
 public:
  // `with_document`: whether GetWindowContext reports a document window besides the frame.
  explicit FakeSiteHandle(bool with_document = true);
  ~FakeSiteHandle();
  FakeSiteHandle(const FakeSiteHandle&) = delete;
  FakeSiteHandle& operator=(const FakeSiteHandle&) = delete;

  IOleClientSite* ClientSite();
  const SiteLog& Log() const;
  void SetRects(const RECT& position, const RECT& clip);
  // The object the frame currently holds as its active object (no reference), or null.
  IOleInPlaceActiveObject* FrameActiveObject() const;

 private:
  FakeSite* impl_;
};

// Calls of the host's own methods, one counter per method.
struct HostLog {
  int get_control_info = 0;
  int on_mnemonic = 0;
  int translate_accelerator = 0;
  int get_display_string = 0;
  int map_property_to_page = 0;
  int get_predefined_strings = 0;
  int get_predefined_value = 0;
  int get_window = 0;
  int enable_modeless = 0;
  RECT position{};  // the last SetObjectRects
  RECT clip{};
};

class FakeHostControlHandle {
 public:
  // `companions` may be null: a control that implements none.
  FakeHostControlHandle(FakeSiteHandle& site, FakeCompanionsHandle* companions);
  ~FakeHostControlHandle();
  FakeHostControlHandle(const FakeHostControlHandle&) = delete;
  FakeHostControlHandle& operator=(const FakeHostControlHandle&) = delete;

  IUnknown* Unknown();
  IOleControl* OleControl();
  IPerPropertyBrowsing* PropertyBrowsing();
  IOleInPlaceActiveObject* ActiveObject();
  IOleObject* OleObject();
  HWND Window() const;  // what GetWindow reports
  const HostLog& Log() const;
  ULONG RefCount() const;

 private:
  FakeHostControl* impl_;
};

}  // namespace veltrin::controls::testing
