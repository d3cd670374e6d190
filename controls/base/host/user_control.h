// The base of every hosted control: its container window, the host's notifications in their order,
// the values the host keeps for it (Enabled, colours, right-to-left, drop mode), ambient values,
// scale conversion and the OLE drag-and-drop notifications.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "controls/base/com_ptr.h"
#include "controls/base/host/data_object.h"
#include "controls/base/host/parent_controls.h"
#include "controls/base/host/property_bag.h"
#include "controls/base/host/scale.h"
#include "controls/base/host/window_handles.h"
#include "controls/base/window/message_handler.h"

namespace veltrin::controls {

class Extender;
class Form;
class UserControl;

// One entry of a control's member-name table for IDispatch::GetIDsOfNames.
struct DispatchName {
  const wchar_t* name;  // matched without regard to letter case
  DISPID id;
};

// What the host's ambient properties say to one control.
class AmbientProperties {
 public:
  explicit AmbientProperties(const UserControl& control) noexcept : control_(control) {}
  // False while the form is in design mode.
  bool UserMode() const;
  // The control's name on its form.
  std::wstring DisplayName() const;
  // The form's font (shared: changes to it are the form's).
  FontRef Font() const;
  bool RightToLeft() const;

 private:
  const UserControl& control_;
};

// The typed message handlers of a UserControl receive the messages that its container window
// reflects from the container's children: WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* and the owner-draw
// messages (WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM). A handler that leaves
// one alone lets the container answer it (the colours of BackColor and ForeColor for
// WM_CTLCOLOR*). A NativeControl also hands its native child's own messages to them.
class UserControl : public MessageHandler {
 public:
  UserControl();
  ~UserControl() override;
  UserControl(const UserControl&) = delete;
  UserControl& operator=(const UserControl&) = delete;

  // The container window (parent of the control's own windows); null while not hosted.
  HWND hWnd() const noexcept { return window_; }
  // The container's client size in pixels (0 while not hosted).
  int ClientWidth() const noexcept;
  int ClientHeight() const noexcept;
  // Repaints the container and its children now.
  void Refresh() const noexcept;

  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  // OLE colours (RGB, or 0x80000000 + a system colour index); an invalid colour raises error 380.
  OLE_COLOR BackColor() const noexcept { return back_color_; }
  void SetBackColor(OLE_COLOR color);
  OLE_COLOR ForeColor() const noexcept { return fore_color_; }
  void SetForeColor(OLE_COLOR color);
  bool RightToLeft() const noexcept { return right_to_left_; }
  void SetRightToLeft(bool right_to_left) noexcept { right_to_left_ = right_to_left; }
  // 0 none, 1 manual (the container is registered as a drop target); others raise error 380.
  int16_t OLEDropMode() const noexcept { return ole_drop_mode_; }
  void SetOLEDropMode(int16_t mode);

  // Converts between units; the container units are the form's scale mode. Raises error 5 for an
  // unknown unit.
  double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
  double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;

  AmbientProperties Ambient() const noexcept { return AmbientProperties(*this); }
  // The host's extender object for this control. Raises error 91 while not hosted.
  Extender& ExtenderObject() const;
  // The controls of the form, the form first. Raises error 91 while not hosted.
  ParentControls ParentControlsCollection() const;
  // The form that hosts the control, or null.
  Form* ContainerForm() const noexcept { return form_; }

  // Reports that a persisted property changed, so the form counts as modified.
  void PropertyChanged(std::wstring_view name);
  // Starts an OLE drag with this control as the source (OLEStartDrag first; no drag when it leaves
  // no allowed effect). Returns when the drag is over.
  void OLEDrag();

  // The control's COM object (IUnknown identity; no reference added). Null before hosting.
  IUnknown* ControlUnknown() const noexcept { return object_.Get(); }

 protected:
  // Host notifications, in this order over a life: Initialize, InitProperties (new) or
  // ReadProperties (loaded), Resize on every size change, AmbientChanged, WriteProperties when the
  // form is saved, Terminate. The container window exists, at its size, from Initialize on.
  virtual void Initialize() {}
  virtual void InitProperties() {}
  virtual void ReadProperties(PropertyBag& /*bag*/) {}
  virtual void Resize() {}
  virtual void AmbientChanged(const std::wstring& /*name*/) {}
  virtual void WriteProperties(PropertyBag& /*bag*/) {}
  virtual void Terminate() {}

  // OLE drag and drop, as source: the data and allowed effects (1 copy, 2 move) to offer; a format
  // offered without data is asked for; the cursor (keep the defaults or set your own); the end.
  virtual void OLEStartDrag(DataObject& /*data*/, int32_t& /*allowed_effects*/) {}
  virtual void OLESetData(DataObject& /*data*/, int16_t /*data_format*/) {}
  virtual void OLEGiveFeedback(int32_t /*effect*/, bool& /*default_cursors*/) {}
  virtual void OLECompleteDrag(int32_t /*effect*/) {}
  // As target (OLEDropMode 1): positions in the container's pixels; state 0 enter, 1 leave, 2 over.
  virtual void OLEDragOver(DataObject& /*data*/, int32_t& /*effect*/, int16_t /*button*/,
                           int16_t /*shift*/, float /*x*/, float /*y*/, int16_t /*state*/) {}
  virtual void OLEDragDrop(DataObject& /*data*/, int32_t& /*effect*/, int16_t /*button*/,
                           int16_t /*shift*/, float /*x*/, float /*y*/) {}

  // Answers QueryInterface for interfaces the host does not implement (the companions); the
  // default knows none.
  virtual HRESULT QueryCompanion(REFIID iid, void** object);
  // The control's member names for IDispatch::GetIDsOfNames; the default has none.
  virtual std::span<const DispatchName> DispatchNames() const { return {}; }
  // The window that takes the focus when the container gets it; null keeps it on the container.
  virtual HWND FocusTarget() const noexcept { return nullptr; }

 private:
  friend class Form;
  friend class UserControlObject;
  friend class ControlDropTarget;
  friend class ControlDropSource;

  // The container window's handler: the control's size, background and colours, the focus, and
  // the reflection of its children's messages to the control.
  class Container final : public MessageHandler {
   public:
    explicit Container(UserControl& control) noexcept : control_(control) {}

   protected:
    CallGuarded& KeepAliveObject() noexcept override { return control_; }
    MessageResult OnMessage(UINT message, WPARAM w_param, LPARAM l_param) override;
    MessageResult OnDestroy() override;
    MessageResult OnNcDestroy() override;
    MessageResult OnSize(UINT kind, int width, int height) override;
    MessageResult OnEraseBkgnd(HDC dc) override;
    MessageResult OnCtlColor(CtlColorKind kind, HDC dc, HWND control) override;
    MessageResult OnSetFocus(HWND previous) override;

   private:
    UserControl& control_;
  };

  HBRUSH BackBrush();
  void UpdateDropRegistration() noexcept;

  Form* form_ = nullptr;          // the hosting form; null while not hosted
  Extender* extender_ = nullptr;  // our entry on the form
  HWND window_ = nullptr;         // the container; owned by the extender
  ComPtr<IUnknown> object_;       // the shared-implementation COM object
  bool live_ = false;             // notifications flow (after Initialize, before Terminate)
  bool initialized_ = false;      // Initialize returned: Terminate is owed
  bool enabled_ = true;
  OLE_COLOR back_color_ = 0x8000000F;  // button face
  OLE_COLOR fore_color_ = 0x80000012;  // button text
  bool right_to_left_ = false;
  int16_t ole_drop_mode_ = 0;
  bool drop_registered_ = false;  // RegisterDragDrop succeeded on window_
  ParentControlsType parent_controls_type_ = ParentControlsType::kExtender;
  UniqueBrush back_brush_;      // BackColor as a brush, made on first use
  Container container_{*this};  // handles the container window's messages
};

}  // namespace veltrin::controls
