// The host's entry for one control on a form: the extender members a program calls by name
// (position, visibility, tab order, focus, validation, help identifiers) and the extender events.
// It owns the control's window (the container of a user control, or a plain Win32 control).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <memory>
#include <string>

#include "controls/base/com_ptr.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/event_sink.h"
#include "controls/base/host/property_value.h"
#include "controls/base/host/window_handles.h"

namespace veltrin::controls {

class Form;
class UserControl;

// Events the host raises for every control; the form's code implements what it needs.
struct ExtenderEvents {
  virtual ~ExtenderEvents() = default;
  // Before the focus moves to a control whose CausesValidation is True; set cancel to keep it.
  virtual void Validate(bool& /*cancel*/) {}
  // A plain button was clicked (also by the default and cancel keys).
  virtual void Click() {}
};

class Extender {
 public:
  Extender(const Extender&) = delete;
  Extender& operator=(const Extender&) = delete;
  ~Extender();

  const std::wstring& Name() const noexcept { return name_; }
  // Renames the control, as a designer does; a user control hears of it as a change of its
  // ambient DisplayName.
  void SetName(std::wstring name);
  const std::wstring& Tag() const noexcept { return tag_; }
  void SetTag(std::wstring tag) { tag_ = std::move(tag); }
  // The form; this host has no other containers, so Container is the same form.
  Form& Parent() const noexcept { return form_; }
  Form& Container() const noexcept { return form_; }

  // Position and size in the form's scale units.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double value);
  void SetTop(double value);
  void SetWidth(double value);
  void SetHeight(double value);
  // Moves and sizes in one step, in the form's scale units; a negative size raises error 380.
  void Move(double left, double top, double width, double height);

  bool Visible() const noexcept;
  void SetVisible(bool visible);
  const std::wstring& ToolTipText() const noexcept { return tool_tip_text_; }
  void SetToolTipText(std::wstring text) { tool_tip_text_ = std::move(text); }
  int32_t HelpContextID() const noexcept { return help_context_id_; }
  void SetHelpContextID(int32_t id) noexcept { help_context_id_ = id; }
  int32_t WhatsThisHelpID() const noexcept { return whats_this_help_id_; }
  void SetWhatsThisHelpID(int32_t id) noexcept { whats_this_help_id_ = id; }
  PictureRef DragIcon() const { return drag_icon_; }
  void SetDragIcon(PictureRef icon) { drag_icon_ = std::move(icon); }
  // 0 manual, 1 automatic; others raise error 380.
  int16_t DragMode() const noexcept { return drag_mode_; }
  void SetDragMode(int16_t mode);
  // Classic (non-OLE) drag: 0 cancel, 1 begin, 2 end; others raise error 380. This host has no
  // classic drop targets, so a drag only records whether it is in progress.
  void Drag(int16_t action = 1);
  bool Dragging() const noexcept { return dragging_; }

  // Moves the focus to the control. When the control causes validation, the control that has the
  // focus is validated first; a cancelled validation raises error 380 and keeps the focus.
  void SetFocus();
  // 0 brings the control to the front of the z-order, 1 sends it to the back; others raise 5.
  void ZOrder(int16_t position = 0);
  bool CausesValidation() const noexcept { return causes_validation_; }
  void SetCausesValidation(bool value) noexcept { causes_validation_ = value; }
  bool DataChanged() const noexcept { return data_changed_; }
  void SetDataChanged(bool value) noexcept { data_changed_ = value; }
  // Position in the tab order (0 first); setting it moves the control there and renumbers the
  // others. A negative value raises error 380; a value past the end puts it last.
  int16_t TabIndex() const noexcept { return tab_index_; }
  void SetTabIndex(int16_t index);
  bool TabStop() const noexcept { return tab_stop_; }
  void SetTabStop(bool value) noexcept { tab_stop_ = value; }

  // The window the form manages: the container of a user control, or the plain control itself.
  HWND hWnd() const noexcept { return window_.Get(); }
  // The hosted user control, or null for a plain Win32 control.
  UserControl* Control() const noexcept { return control_.get(); }
  EventSink<ExtenderEvents>& Events() noexcept { return events_; }
  // The COM site of a user control (null for plain controls); it records what the control reports.
  ControlSite* Site() const noexcept { return site_.Get(); }

 private:
  friend class ControlSite;
  friend class Form;
  // Out of line: the members' clean-up on a throw needs UserControl complete.
  Extender(Form& form, std::wstring name);
  RECT PixelBounds() const noexcept;  // in the parent's (form or frame) client area
  void SetPixelBounds(const RECT& bounds);

  Form& form_;
  std::wstring name_;
  std::wstring tag_;
  std::wstring tool_tip_text_;
  int32_t help_context_id_ = 0;
  int32_t whats_this_help_id_ = 0;
  PictureRef drag_icon_;
  int16_t drag_mode_ = 0;
  bool dragging_ = false;
  bool causes_validation_ = true;
  bool data_changed_ = false;
  bool tab_stop_ = true;
  int16_t tab_index_ = 0;
  EventSink<ExtenderEvents> events_;
  std::unique_ptr<UserControl> control_;  // null for plain controls
  ComPtr<ControlSite> site_;              // the site the control's COM object talks to
  UniqueWindow window_;  // destroyed before the control (declared last), so its last messages
                         // reach a live control
};

}  // namespace veltrin::controls
