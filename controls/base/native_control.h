// The base of a control that wraps one native window (EDIT, LISTBOX, ...): it owns that child
// and its subclass, hands the child's messages and the container's reflected messages to the
// control's typed handlers, registers the interception kinds for the control's life, answers
// QueryInterface for the companion interfaces, and re-creates the child when a style needs it. It
// also holds what every control does the same way: the input events from the child's messages and
// the shared properties (see native_control_input.cpp and native_control_properties.cpp).
#pragma once

#include <windows.h>
#include <objsafe.h>

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/host/picture_object.h"
#include "controls/base/host/property_bag.h"
#include "controls/base/host/user_control.h"
#include "controls/base/host/window_handles.h"
#include "controls/base/input_events.h"
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
  // BorderStyle of both controls.
  static constexpr int32_t kBorderNone = 0;
  static constexpr int32_t kBorderSingle = 1;
  static constexpr int32_t kBorderStaticEdge = 2;
  static constexpr int32_t kBorderSunken = 3;
  static constexpr int32_t kBorderDialogFrame = 4;

  // OLEDragMode and OLEDropMode (automatic drop only where the control offers it).
  static constexpr int32_t kOleDragManual = 0;
  static constexpr int32_t kOleDragAutomatic = 1;
  static constexpr int32_t kOleDropNone = 0;
  static constexpr int32_t kOleDropManual = 1;
  static constexpr int32_t kOleDropAutomatic = 2;

  ~NativeControl() override;

  // The native child (an empty view while it does not exist).
  Window Child() const noexcept { return Window(child_.Get()); }
  // The native child's handle (null while it does not exist) and the container window.
  HWND hWnd() const noexcept { return child_.Get(); }
  HWND hWndUserControl() const noexcept { return UserControl::hWnd(); }

  // Enables or disables the control and its child.
  bool Enabled() const noexcept { return UserControl::Enabled(); }
  void SetEnabled(bool enabled);
  // The mouse pointer over the child: 0..16 or 99 (the MouseIcon); others raise error 380.
  int16_t MousePointer() const noexcept { return mouse_pointer_; }
  void SetMousePointer(int16_t value);
  // An icon, or null; another picture type is refused (error 380).
  const PictureRef& MouseIcon() const noexcept { return mouse_icon_; }
  void SetMouseIcon(PictureRef icon);
  // Whether MouseEnter and MouseLeave are raised.
  bool MouseTrack() const noexcept { return mouse_track_; }
  void SetMouseTrack(bool value);

  // Properties every control has, the same way (native_control_properties.cpp). Out-of-range
  // values raise error 380.
  OLE_COLOR BackColor() const noexcept { return UserControl::BackColor(); }
  void SetBackColor(OLE_COLOR color);
  OLE_COLOR ForeColor() const noexcept { return UserControl::ForeColor(); }
  void SetForeColor(OLE_COLOR color);
  // 0..4 (none, single, static edge, sunken, dialog frame).
  int32_t BorderStyle() const noexcept { return border_style_; }
  void SetBorderStyle(int32_t value);
  // The stored value; the child follows the value resolved with RightToLeftMode (0..4).
  bool RightToLeft() const noexcept { return UserControl::RightToLeft(); }
  void SetRightToLeft(bool value);
  int32_t RightToLeftMode() const noexcept { return right_to_left_mode_; }
  void SetRightToLeftMode(int32_t value);
  bool VisualStyles() const noexcept { return visual_styles_; }
  void SetVisualStyles(bool value);
  // 0 manual, 1 automatic.
  int32_t OLEDragMode() const noexcept { return ole_drag_mode_; }
  void SetOLEDragMode(int32_t value);
  // 0 none, 1 manual, 2 automatic where HighestOLEDropMode allows it.
  int32_t OLEDropMode() const noexcept { return ole_drop_mode_; }
  void SetOLEDropMode(int32_t value);
  bool OLEDragDropScroll() const noexcept { return ole_drag_drop_scroll_; }
  void SetOLEDragDropScroll(bool value);
  // Repaints the container and the child now.
  virtual void Refresh() const noexcept { UserControl::Refresh(); }

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
  // A point in the container's position units.
  struct ContainerPoint {
    float x = 0;
    float y = 0;
  };

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
  // Sends the child one character as WM_CHAR: a code point above U+FFFF as its surrogate pair.
  void SendCharacter(UINT code_point, LPARAM flags) const noexcept;
  // Where a WM_CONTEXTMENU at `screen` points, in the container's position units; (-1, -1) when
  // the keyboard asked (every other point counts, negative ones on monitors left of or above the
  // primary one included).
  ContainerPoint ContextMenuPoint(POINT screen) const;

  // Input from the child, written once for every control (native_control_input.cpp): the keys
  // with the pending character, the mouse buttons, moves, enter and leave, the cursor and the
  // mouse activation raise InputEvents; the hooks below add what a control does besides.
  // The connected handler of the control's events, or null (the default: the events go nowhere).
  virtual InputEvents* InputHandler() const noexcept { return nullptr; }
  // Whether the message being handled is the child's own and gets the input behaviour (default:
  // any message of the child).
  virtual bool TakesInput() const noexcept;
  // After KeyDown of a WM_KEYDOWN (not of a system key), with the code the handler left.
  virtual void AfterKeyDown(int16_t /*key_code*/) {}
  // Hands the child the character KeyPress left (default: as it is, 0 included); `typed` is the
  // character of the message.
  virtual MessageResult ForwardCharacter(wchar_t typed, int16_t key_char, UINT flags);
  // After the child's own handling of a move, before MouseEnter and MouseMove.
  virtual void AfterMouseMove(UINT /*keys*/) {}
  // A press of the left button (default: as any other button, see ForwardButton).
  virtual MessageResult LeftButtonDown(UINT keys, POINT point);
  // After a button's default handling and its MouseDown or MouseUp (nothing for a double click).
  virtual void AfterButton(MouseButtonAction /*action*/, POINT /*point*/) {}
  // WM_SETCURSOR in the client area, before MousePointer: true when the control set its own.
  virtual bool SetOwnCursor() { return false; }
  // The child's default handling of a button message, then MouseDown or MouseUp, then
  // AfterButton.
  MessageResult ForwardButton(MouseButtonAction action, int16_t button, UINT keys, POINT point);
  // Raises a mouse event for a client point of the child (nothing without a handler).
  void RaiseMouse(void (InputEvents::*event)(int16_t, int16_t, float, float), int16_t button,
                  UINT keys, POINT point);
  // For the accelerator hook: raises PreviewKeyDown or PreviewKeyUp for WM_KEYDOWN or WM_KEYUP
  // and sends the child the keys it keeps (the navigation keys; Tab, Return and Escape when the
  // handler made them input keys). True when the child got the key.
  bool PreviewKey(UINT message, WPARAM w_param, LPARAM l_param);
  // Whether the accelerator hook previews WM_KEYDOWN and WM_KEYUP now (default: never), and what
  // it answers when a handler of the preview fails.
  virtual bool PreviewsKeys() const noexcept { return false; }
  virtual HRESULT PreviewFailure() const noexcept { return E_FAIL; }

  MessageResult OnKeyDown(UINT key, UINT flags) override;
  MessageResult OnKeyUp(UINT key, UINT flags) override;
  MessageResult OnSysKeyDown(UINT key, UINT flags) override;
  MessageResult OnSysKeyUp(UINT key, UINT flags) override;
  MessageResult OnChar(wchar_t code, UINT flags) override;
  MessageResult OnUniChar(UINT code_point, UINT flags) override;
  MessageResult OnImeChar(wchar_t code, UINT flags) override;
  MessageResult OnMouseMove(UINT keys, POINT point) override;
  MessageResult OnMouseButton(MouseButton button, MouseButtonAction action, UINT keys,
                              POINT point) override;
  MessageResult OnMouseLeave() override;
  MessageResult OnSetCursor(HWND window, UINT hit_test, UINT mouse_message) override;
  MessageResult OnMouseActivate(HWND top, UINT hit_test, UINT mouse_message) override;

  // Gives the child the visual styles' theme, or takes it away; false where there is nothing to
  // do (no child, or no visual styles in the process).
  bool ThemeChild(bool visual_styles) const noexcept;
  // WM_SETCURSOR over the child: sets the cursor MousePointer (or MouseIcon) names for the
  // client area and says whether it did.
  bool SetPointerCursor(UINT hit_test) const noexcept;
  // Mouse tracking: MouseEntered says whether a move of the mouse over the child is its entry
  // (MouseTrack on; the leave is then tracked), MouseLeft whether a WM_MOUSELEAVE ends it.
  bool MouseEntered() noexcept;
  bool MouseLeft() noexcept;
  // The mouse properties in a property bag (a stored pointer out of range reads as 0).
  void ReadMouseProperties(PropertyBag& bag);
  void WriteMouseProperties(PropertyBag& bag) const;

  // RightToLeft as resolved with the ambient value and RightToLeftMode, and the extended styles
  // that show it on the child.
  bool EffectiveRightToLeft() const noexcept;
  virtual DWORD RightToLeftExStyles() const { return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR; }
  void ApplyRightToLeft() const noexcept;
  // Gives the child the theme VisualStyles says, and repaints.
  void ApplyVisualStyles() const noexcept;
  // The highest OLEDropMode the control takes (default: manual).
  virtual int32_t HighestOLEDropMode() const { return kOleDropManual; }
  // The shared properties in a property bag, from VisualStyles to RightToLeftMode (the mouse
  // properties included), and BorderStyle: a stored value out of range reads as its default.
  void ReadSharedProperties(PropertyBag& bag, OLE_COLOR back_color, OLE_COLOR fore_color);
  void WriteSharedProperties(PropertyBag& bag, OLE_COLOR back_color, OLE_COLOR fore_color) const;
  void ReadBorderStyle(PropertyBag& bag);
  void WriteBorderStyle(PropertyBag& bag) const;

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
  // A property that only the child's creation applies: stores the value, re-creates the child
  // (RecreateForStyle) and reports the change.
  template <typename T>
  void SetRecreating(T& field, T value, const wchar_t* name) {
    field = value;
    RecreateForStyle();
    PropertyChanged(name);
  }
  // How a style-bearing property re-creates the child (default: RecreateChild).
  virtual void RecreateForStyle() { RecreateChild(); }
  // Removes the subclass and destroys the child (the accelerator wrapper is let go if it had the
  // focus).
  void DestroyChild() noexcept;

  // Companions: nothing handled unless overridden; TranslateAccelerator previews the keys (see
  // PreviewsKeys).
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
  // Whether the message being handled is the child's.
  bool ChildMessage() const noexcept;
  // KeyDown or KeyUp with the in/out code, then the child sees the code left; key messages (not
  // system keys) also run AfterKeyDown and note the character waiting in the queue.
  MessageResult RaiseKey(bool down, bool key_message, UINT key, UINT flags);
  template <typename... Params, typename... Args>
  void RaiseInput(void (InputEvents::*event)(Params...), Args&&... args) const {
    if (InputEvents* handler = InputHandler()) (handler->*event)(std::forward<Args>(args)...);
  }

  std::vector<InterceptionRegistration> registrations_;  // released in Terminate
  int16_t mouse_pointer_ = 0;                            // MousePointer
  PictureRef mouse_icon_;                                // MouseIcon
  bool mouse_track_ = false;                             // MouseTrack
  int32_t border_style_ = kBorderSunken;                 // BorderStyle
  int32_t right_to_left_mode_ = 1;                       // RightToLeftMode
  bool visual_styles_ = true;                            // VisualStyles
  int32_t ole_drag_mode_ = kOleDragManual;               // OLEDragMode
  int32_t ole_drop_mode_ = kOleDropNone;                 // OLEDropMode
  bool ole_drag_drop_scroll_ = true;                     // OLEDragDropScroll
  bool mouse_inside_ = false;                            // MouseEnter raised, MouseLeave not yet
  wchar_t pending_char_ = 0;          // the WM_CHAR waiting after the latest key, for KeyPress
  DISPID mouse_pointer_disp_id_ = 0;  // MousePointer's identifier, for property browsing
  ChildReceiver receiver_{*this};     // outlives the subclass below
  UniqueWindow child_;                // the native child
  ScopedSubclass child_subclass_;     // removed before the child goes
};

}  // namespace veltrin::controls
