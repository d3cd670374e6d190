// The base of a control that wraps one native window (EDIT, LISTBOX, ...): it owns that child
// and its subclass, hands the child's messages and the container's reflected messages to the
// control's typed handlers, registers the interception kinds for the control's life, answers
// QueryInterface for the companion interfaces, and re-creates the child when a style needs it.
#pragma once

#include <windows.h>
#include <objsafe.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/host/user_control.h"
#include "controls/base/host/window_handles.h"
#include "controls/base/interception/companion_interfaces.h"
#include "controls/base/interception/interception_registration.h"
#include "controls/base/window/scoped_subclass.h"
#include "controls/base/window/window.h"

namespace veltrin::controls {

// The window number of the native child in the subclass core.
inline constexpr DWORD_PTR kNativeChildNumber = 1;

// The companions answer "not handled" unless the derived control overrides them; their
// reference counting keeps the control alive for a call (see CallGuarded).
class NativeControl : public UserControl,
                      public IOleControlVB,
                      public IOleInPlaceActiveObjectVB,
                      public IPerPropertyBrowsingVB,
                      public IObjectSafety {
 public:
  ~NativeControl() override;

  // The native child (an empty view while it does not exist).
  Window Child() const noexcept { return Window(child_.Get()); }

  // IUnknown of the companions (IOleControlVB, IOleInPlaceActiveObjectVB, IPerPropertyBrowsingVB)
  // and of IObjectSafety.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Object safety: every interface is safe for untrusted callers and data, always; requests to
  // change the options are accepted and change nothing.
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                      DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask,
                                                      DWORD enabled) override;

 protected:
  NativeControl();

  // What the child is. The style always gets WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS.
  virtual const wchar_t* ChildClass() const = 0;
  virtual DWORD ChildStyle() const { return 0; }
  virtual DWORD ChildExStyle() const { return 0; }
  // The text the child is created with.
  virtual std::wstring ChildText() const { return {}; }
  // Style bits that can change on the live child; a change of any other bit re-creates it.
  virtual DWORD LiveStyles() const {
    return WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_GROUP | WS_BORDER | WS_HSCROLL | WS_VSCROLL;
  }
  virtual DWORD LiveExStyles() const {
    return WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
  }
  // Runs after every creation of the child (first and re-created), before the state is restored.
  virtual void ChildCreated() {}
  // Keeps what must survive a re-creation (text, selection, scroll position...): SaveChildState
  // runs on the old child, RestoreChildState on the new one.
  virtual void SaveChildState() {}
  virtual void RestoreChildState() {}
  // A setting the control refuses: raised at run time; in design mode shown to the designer in a
  // critical message box under the control's name instead, and the caller keeps the old value.
  void RefuseSetting(const RunTimeError& error) const;

  // A control with a MousePointer property returns its value: the host then shows and offers it by
  // the named pointer values. The default has none, and every property is left to the host.
  virtual std::optional<int16_t> BrowsedMousePointer() const { return std::nullopt; }

  // The interception kinds registered from Initialize to Terminate (default: all three).
  virtual std::span<const InterceptionKind> InterceptionKinds() const;

  // The host notifications, wrapped: interception is registered before InitializeControl, the
  // child is created after InitControlProperties / ReadControlProperties, and TerminateControl
  // runs before the child and the registrations go.
  virtual void InitializeControl() {}
  virtual void InitControlProperties() {}
  virtual void ReadControlProperties(PropertyBag& /*bag*/) {}
  virtual void TerminateControl() {}
  // Fills the container with the child; an override should call it.
  void Resize() override;

  // Creates the child unless it exists. Throws RunTimeError 5 when it cannot be created.
  void CreateChild();
  // Applies ChildStyle and ChildExStyle: live bits on the child, anything else by re-creating it
  // (state saved and restored, the focus kept). Does nothing without a child.
  void UpdateChildStyle();
  // Re-creates the child now, keeping its state and the focus.
  void RecreateChild();
  // Removes the subclass and destroys the child (the accelerator wrapper is let go if it had the
  // focus).
  void DestroyChild() noexcept;

  // Companions: nothing handled unless overridden.
  HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count, HACCEL& accel_table,
                                           int32_t& flags) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(bool& handled, UINT message, WPARAM w_param, LPARAM l_param,
                                       int32_t shift) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(bool& handled, HRESULT& ret_val, UINT message,
                                                 WPARAM w_param, LPARAM l_param,
                                                 int32_t shift) override;
  HRESULT STDMETHODCALLTYPE GetDisplayString(bool& handled, DISPID disp_id,
                                             std::wstring& display_name) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(bool& handled, DISPID disp_id,
                                                 std::vector<std::wstring>& strings,
                                                 std::vector<int32_t>& cookies) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(bool& handled, DISPID disp_id, int32_t cookie,
                                               VARIANT* value) override;

  std::span<const DispatchName> DispatchNames() const override;
  HRESULT QueryCompanion(REFIID iid, void** object) override;
  HWND FocusTarget() const noexcept override { return child_.Get(); }

 private:
  // The child's receiver: focus activates the accelerator wrapper, then the control's handlers.
  class ChildReceiver final : public SubclassReceiver {
   public:
    explicit ChildReceiver(NativeControl& control) noexcept
        : SubclassReceiver(control), control_(control) {}
    LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                      DWORD_PTR ref_data) override;

   private:
    NativeControl& control_;
  };

  void Initialize() final;
  void InitProperties() final;
  void ReadProperties(PropertyBag& bag) final;
  void Terminate() final;
  // Releases the interception registrations, the last made first.
  void ReleaseRegistrations() noexcept;
  void LookUpMousePointerDispId() noexcept;
  bool BrowsesMousePointer(DISPID disp_id) const noexcept;

  std::vector<InterceptionRegistration> registrations_;  // released in Terminate
  DISPID mouse_pointer_disp_id_ = 0;  // MousePointer's identifier, for property browsing
  ChildReceiver receiver_{*this};     // outlives the subclass below
  UniqueWindow child_;                // the native child
  ScopedSubclass child_subclass_;     // removed before the child goes
};

}  // namespace veltrin::controls
