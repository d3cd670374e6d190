// The native child's life inside its control: creation, subclass, re-creation, destruction; the
// interception registrations; the companions' QueryInterface and their "not handled" defaults.
#include "controls/base/native_control.h"

#include <uxtheme.h>

#include <array>

#include "common/run_time_error.h"
#include "common/utf16.h"
#include "controls/base/comctl_version.h"
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/mouse_pointers.h"
#include "controls/base/window_input.h"

namespace veltrin::controls {
namespace {

constexpr std::array<InterceptionKind, 3> kAllKinds = {InterceptionKind::kAccelerators,
                                                       InterceptionKind::kControlInfo,
                                                       InterceptionKind::kPropertyBrowsing};
constexpr DWORD kChildStyles = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kSafeOptions =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

}  // namespace

NativeControl::NativeControl() = default;

NativeControl::~NativeControl() {
  DestroyChild();
}

HRESULT STDMETHODCALLTYPE NativeControl::QueryInterface(REFIID iid, void** object) {
  return QueryCompanion(iid, object);
}

ULONG STDMETHODCALLTYPE NativeControl::AddRef() {
  EnterCall();
  return 2;
}

ULONG STDMETHODCALLTYPE NativeControl::Release() {
  LeaveCall();  // may delete the control: nothing is touched afterwards
  return 1;
}

HRESULT NativeControl::QueryCompanion(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IOleControlVB)) {
    *object = static_cast<IOleControlVB*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceActiveObjectVB)) {
    *object = static_cast<IOleInPlaceActiveObjectVB*>(this);
  } else if (IsEqualIID(iid, IID_IPerPropertyBrowsingVB)) {
    *object = static_cast<IPerPropertyBrowsingVB*>(this);
  } else if (IsEqualIID(iid, IID_IObjectSafety)) {
    *object = static_cast<IObjectSafety*>(this);
  } else if (IsEqualIID(iid, IID_IUnknown)) {
    *object = static_cast<IOleControlVB*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE NativeControl::GetInterfaceSafetyOptions(REFIID, DWORD* supported,
                                                                   DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  *supported = kSafeOptions;
  *enabled = kSafeOptions;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE NativeControl::SetInterfaceSafetyOptions(REFIID, DWORD, DWORD) {
  return S_OK;
}

std::span<const InterceptionKind> NativeControl::InterceptionKinds() const {
  return kAllKinds;
}

void NativeControl::Initialize() {
  try {
    for (const InterceptionKind kind : InterceptionKinds()) {
      registrations_.emplace_back(ControlUnknown(), kind);
    }
    InitializeControl();
  } catch (...) {
    // The host skips Terminate after a failed Initialize, and the control's object goes before
    // the control: undo what was done here now, last first.
    ReleaseRegistrations();
    throw;
  }
}

void NativeControl::ReleaseRegistrations() noexcept {
  while (!registrations_.empty()) registrations_.pop_back();
}

void NativeControl::InitProperties() {
  LookUpMousePointerDispId();
  InitControlProperties();
  CreateChild();
}

void NativeControl::ReadProperties(PropertyBag& bag) {
  LookUpMousePointerDispId();
  ReadControlProperties(bag);
  CreateChild();
}

void NativeControl::Terminate() {
  try {
    TerminateControl();
  } catch (...) {
    DestroyChild();
    ReleaseRegistrations();
    throw;
  }
  DestroyChild();
  ReleaseRegistrations();
}

void NativeControl::Resize() {
  if (child_) Child().Move(RECT{0, 0, ClientWidth(), ClientHeight()});
}

void NativeControl::CreateChild() {
  if (child_ || !hWndUserControl()) return;
  const HWND child =
      CreateWindowExW(ChildExStyle(), ChildClass(), ChildText().c_str(),
                      kChildStyles | ChildStyle(), 0, 0, ClientWidth(), ClientHeight(),
                      hWndUserControl(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!child) throw RunTimeError(kInvalidProcedureCall);
  child_.Reset(child);
  child_subclass_ = ScopedSubclass(child, receiver_, kNativeChildNumber);
  ChildCreated();
}

void NativeControl::UpdateChildStyle() {
  if (!child_) return;
  const Window child = Child();
  const DWORD style = kChildStyles | ChildStyle();
  const DWORD ex_style = ChildExStyle();
  const DWORD live = LiveStyles();
  const DWORD live_ex = LiveExStyles();
  if (((child.Style() ^ style) & ~live) != 0 || ((child.ExStyle() ^ ex_style) & ~live_ex) != 0) {
    RecreateChild();
    return;
  }
  child.ModifyStyle(live, style & live);
  child.ModifyExStyle(live_ex, ex_style & live_ex);
}

void NativeControl::RecreateChild() {
  if (!child_) return;
  const bool focused = Child().HasFocus();
  SaveChildState();
  DestroyChild();
  CreateChild();
  RestoreChildState();
  if (focused) Child().Focus();
}

void NativeControl::DestroyChild() noexcept {
  if (!child_) return;
  if (Child().HasFocus()) DeactivateAccelerators();
  child_subclass_.Reset();
  child_.Reset();
}

LRESULT STDMETHODCALLTYPE NativeControl::ChildReceiver::Message(HWND window, UINT message,
                                                                WPARAM w_param, LPARAM l_param,
                                                                DWORD_PTR) {
  switch (message) {
    case WM_SETFOCUS:
      ActivateAccelerators(control_.ControlUnknown());
      NotifyControlInfoChanged(control_.ControlUnknown(), true);
      break;
    case WM_KILLFOCUS:
      DeactivateAccelerators();
      break;
    default:
      break;
  }
  return control_.HandleMessage(window, message, w_param, l_param, DefaultWindowProc);
}

HRESULT STDMETHODCALLTYPE NativeControl::GetControlInfo(bool&, int32_t&, HACCEL&, int32_t&) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE NativeControl::OnMnemonic(bool&, UINT, WPARAM, LPARAM, int32_t) {
  return S_OK;
}

void NativeControl::SetEnabled(bool enabled) {
  UserControl::SetEnabled(enabled);
  if (child_) Child().Enable(enabled);
  PropertyChanged(L"Enabled");
}

void NativeControl::SetMousePointer(int16_t value) {
  if ((value < 0 || value > 16) && value != 99) throw RunTimeError(kInvalidPropertyValue);
  mouse_pointer_ = value;
  PropertyChanged(L"MousePointer");
}

void NativeControl::SetMouseIcon(PictureRef icon) {
  if (icon && icon->Handle() && icon->Type() != PictureType::kIcon) {
    return RefuseSetting(RunTimeError(kInvalidPropertyValue));
  }
  mouse_icon_ = std::move(icon);
  PropertyChanged(L"MouseIcon");
}

void NativeControl::SetMouseTrack(bool value) {
  mouse_track_ = value;
  PropertyChanged(L"MouseTrack");
}

bool NativeControl::ThemeChild(bool visual_styles) const noexcept {
  if (!child_ || !VisualStylesActive()) return false;
  if (visual_styles) {
    SetWindowTheme(hWnd(), nullptr, nullptr);
  } else {
    SetWindowTheme(hWnd(), L" ", L" ");
  }
  return true;
}

bool NativeControl::SetPointerCursor(UINT hit_test) const noexcept {
  if (hit_test != HTCLIENT) return false;
  if (const HCURSOR cursor = LoadMousePointerCursor(mouse_pointer_)) {
    SetCursor(cursor);
    return true;
  }
  if (mouse_pointer_ == 99 && mouse_icon_ && mouse_icon_->Handle()) {
    SetCursor(static_cast<HCURSOR>(mouse_icon_->Handle()));
    return true;
  }
  return false;
}

bool NativeControl::MouseEntered() noexcept {
  if (mouse_inside_ || !mouse_track_) return false;
  mouse_inside_ = true;
  TrackMouseLeave(hWnd());
  return true;
}

bool NativeControl::MouseLeft() noexcept {
  if (!mouse_inside_) return false;
  mouse_inside_ = false;
  return true;
}

void NativeControl::ReadMouseProperties(PropertyBag& bag) {
  const int32_t pointer = bag.ReadProperty(L"MousePointer", PropertyValue(int16_t{0})).ToLong();
  mouse_pointer_ =
      static_cast<int16_t>((pointer >= 0 && pointer <= 16) || pointer == 99 ? pointer : 0);
  mouse_icon_ = bag.ReadProperty(L"MouseIcon", PropertyValue(PictureRef())).ToPicture();
  mouse_track_ = bag.ReadProperty(L"MouseTrack", PropertyValue(false)).ToBoolean();
}

void NativeControl::WriteMouseProperties(PropertyBag& bag) const {
  bag.WriteProperty(L"MousePointer", PropertyValue(mouse_pointer_), PropertyValue(int16_t{0}));
  bag.WriteProperty(L"MouseIcon", PropertyValue(mouse_icon_), PropertyValue(PictureRef()));
  bag.WriteProperty(L"MouseTrack", PropertyValue(mouse_track_), PropertyValue(false));
}

NativeControl::ContainerPoint NativeControl::ContextMenuPoint(POINT screen) const {
  if (screen.x == -1 && screen.y == -1) return ContainerPoint{-1.0f, -1.0f};
  POINT client = screen;
  ScreenToClient(hWnd(), &client);
  return ContainerPoint{
      static_cast<float>(ScaleX(client.x, ScaleUnit::kPixels, ScaleUnit::kContainerPosition)),
      static_cast<float>(ScaleY(client.y, ScaleUnit::kPixels, ScaleUnit::kContainerPosition))};
}

void NativeControl::RefuseSetting(const RunTimeError& error) const {
  if (Ambient().UserMode()) throw error;
  MessageBoxW(UserControl::hWnd(), ToWide(error.Description()).c_str(),
              Ambient().DisplayName().c_str(), MB_OK | MB_ICONERROR);
}

// Property browsing: MousePointer, where the control has one, is shown and offered by the named
// pointer values; every other property is left to the host.
namespace {
constexpr DISPID kMousePointerDispatchId = 0x100;
}  // namespace

std::span<const DispatchName> NativeControl::DispatchNames() const {
  static constexpr DispatchName kNames[] = {{L"MousePointer", kMousePointerDispatchId}};
  if (!BrowsedMousePointer()) return {};
  return kNames;
}

void NativeControl::LookUpMousePointerDispId() noexcept {
  if (mouse_pointer_disp_id_ != 0 || !BrowsedMousePointer()) return;
  try {
    mouse_pointer_disp_id_ = GetDispId(ControlUnknown(), L"MousePointer");
  } catch (...) {
    // Without the identifier MousePointer is browsed as the host's default does.
  }
}

bool NativeControl::BrowsesMousePointer(DISPID disp_id) const noexcept {
  return mouse_pointer_disp_id_ != 0 && disp_id == mouse_pointer_disp_id_;
}

HRESULT STDMETHODCALLTYPE NativeControl::GetDisplayString(bool& handled, DISPID disp_id,
                                                          std::wstring& display_name) {
  if (BrowsesMousePointer(disp_id)) {
    handled = MousePointerName(BrowsedMousePointer().value_or(0), display_name);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE NativeControl::GetPredefinedStrings(bool& handled, DISPID disp_id,
                                                              std::vector<std::wstring>& strings,
                                                              std::vector<int32_t>& cookies) {
  if (!BrowsesMousePointer(disp_id)) return S_OK;
  MousePointerList(strings, cookies);
  handled = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE NativeControl::GetPredefinedValue(bool& handled, DISPID disp_id,
                                                            int32_t cookie, VARIANT* value) {
  if (!BrowsesMousePointer(disp_id) || !value) return S_OK;
  VariantClear(value);
  V_VT(value) = VT_I4;
  V_I4(value) = cookie;
  handled = true;
  return S_OK;
}

}  // namespace veltrin::controls
