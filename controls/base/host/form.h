// A top-level window that hosts user controls and plain Win32 controls: it delivers the host
// notifications, keeps the tab order, focus, default and cancel buttons and control validation,
// runs the message loop that offers keys to the in-place active object first, and keeps the
// ambient values, the scale mode, the design-mode switch and the modified flag. The members are
// implemented by job: form.cpp (window and form events), form_controls.cpp, form_frames.cpp,
// form_ambient.cpp (ambient values and scale), form_tab_order.cpp (focus, tab order, validation)
// and form_message_loop.cpp.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/base/com_ptr.h"
#include "controls/base/host/event_sink.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/font_object.h"
#include "controls/base/host/form_events.h"
#include "controls/base/host/pending_messages.h"
#include "controls/base/host/property_bag.h"
#include "controls/base/host/scale.h"
#include "controls/base/host/window_handles.h"
#include "controls/base/window/message_handler.h"
#include "controls/base/window/scoped_subclass.h"

namespace veltrin::controls {

class FormFrame;
class UserControl;

class Form : public MessageHandler {
 public:
  // Creates the (hidden) top-level window with a client area of the given pixels. Initialises OLE
  // on the thread for the form's life. Throws RunTimeError 5 when the window cannot be created.
  explicit Form(std::wstring caption = L"Form1", int client_width = 480, int client_height = 320);
  // Terminates and destroys every control (last added first), then the window.
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND hWnd() const noexcept { return window_.Get(); }
  // Shows the form (SW_HIDE hides it); the first time, Load comes before the window shows.
  void Show(int command = SW_SHOW);
  // Closes the form as the program asks: QueryUnload and Unload may cancel (false is returned);
  // otherwise the form is hidden and, when it ends the loop, WM_QUIT is posted. WM_CLOSE does
  // the same with UnloadMode::kControlMenu.
  bool Close(UnloadMode mode = UnloadMode::kCode);
  // Whether closing the form ends the message loop (true unless changed).
  bool EndsLoopOnClose() const noexcept { return ends_loop_on_close_; }
  void SetEndsLoopOnClose(bool ends) noexcept { ends_loop_on_close_ = ends; }
  bool Loaded() const noexcept { return loaded_; }
  EventSink<FormEvents>& Events() noexcept { return events_; }

  // Hosts `control` under `name` at `bounds` (client pixels): creates its container, connects its
  // COM object and site, and delivers Initialize, then ReadProperties(bag) when a bag is given or
  // InitProperties otherwise, then Resize. The new control comes last in the tab order. A name in
  // use raises error 5.
  Extender& AddControl(std::unique_ptr<UserControl> control, std::wstring name, RECT bounds,
                       PropertyBag* bag = nullptr);
  // Hosts a plain Win32 control (WS_CHILD | WS_VISIBLE are added) under `name`.
  Extender& AddNativeControl(const wchar_t* window_class, std::wstring name, std::wstring caption,
                             DWORD style, RECT bounds);
  // A push button, a check box and a frame (group box): AddNativeControl with their styles. Plain
  // controls draw with the form's font, and follow its changes.
  Extender& AddButton(std::wstring name, std::wstring caption, RECT bounds);
  Extender& AddCheckBox(std::wstring name, std::wstring caption, RECT bounds);
  Extender& AddFrame(std::wstring name, std::wstring caption, RECT bounds);
  // Puts `control` into the frame `frame`: its position becomes relative to the frame, it is drawn
  // above it and moves, hides and shows with it; the tab order stays the form's. Raises error 5
  // when `frame` is not a frame of this form or is the control itself.
  void PlaceInFrame(Extender& control, Extender& frame);
  // Delivers Terminate (user controls) and destroys the control; an unknown name does nothing.
  // Removes the named control; a frame takes the controls placed in it along.
  void RemoveControl(std::wstring_view name);

  // The control named `name`, or null.
  Extender* Find(std::wstring_view name) const noexcept;
  // The controls in the order they were added.
  size_t ControlCount() const noexcept { return items_.size(); }
  Extender& ControlAt(size_t index) const { return *items_.at(index); }
  // The control that has (or contains) the keyboard focus, or null.
  Extender* ActiveControl() const noexcept;

  // Saves every user control: WriteProperties into one bag per control name. Clears Modified.
  std::map<std::wstring, PropertyBag> SaveControls();
  // Set by a control's PropertyChanged.
  bool Modified() const noexcept { return modified_; }
  void SetModified(bool modified) noexcept { modified_ = modified; }

  // Ambient values; changing one tells every user control (AmbientChanged with its name).
  bool UserMode() const noexcept { return user_mode_; }
  void SetUserMode(bool user_mode);
  const FontRef& Font() const noexcept { return font_; }
  // A null font raises error 380. Changes of the font's attributes are also reported.
  void SetFont(FontRef font);
  bool RightToLeft() const noexcept { return right_to_left_; }
  void SetRightToLeft(bool right_to_left);

  // The unit of the controls' Left, Top, Width and Height (twips unless changed); the container
  // units resolve to it. Setting a container unit raises error 380.
  ScaleUnit ScaleMode() const noexcept { return scale_mode_; }
  void SetScaleMode(ScaleUnit mode);
  double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
  double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;

  // The buttons that Return and Escape click; null for none. The focused button answers Return.
  void SetDefaultButton(Extender* button) noexcept { default_button_ = button; }
  void SetCancelButton(Extender* button) noexcept { cancel_button_ = button; }
  Extender* DefaultButton() const noexcept { return default_button_; }
  Extender* CancelButton() const noexcept { return cancel_button_; }

  // Raises Validate on the control that has the focus; a cancel raises error 380.
  void ValidateControls();
  // Moves the focus to `target` (validating first when it causes validation); raises error 380
  // when the validation is cancelled, and the focus stays.
  void FocusControl(Extender& target);
  // Moves the focus to the next (or previous) control in tab order that is visible, enabled and a
  // tab stop; a cancelled validation keeps the focus. False when no control could take it.
  bool TabToNextControl(bool backwards);

  // The object set through IOleInPlaceFrame::SetActiveObject, or null (no reference added).
  IOleInPlaceActiveObject* ActiveObject() const noexcept;
  // Offers a message to the form before dispatching: keys go to the active object's
  // TranslateAccelerator first, then Tab, Shift+Tab, Return (default button) and Escape (cancel
  // button). True when the message was consumed.
  bool PreTranslate(MSG& message);
  // Waits for, pre-translates, translates and dispatches one message; false on WM_QUIT.
  bool PumpMessage();
  // Dispatches every message already queued (without waiting); false when WM_QUIT came.
  bool PumpPendingMessages();
  // Runs until WM_QUIT; returns its exit code. Closing the form posts WM_QUIT.
  int RunMessageLoop();

  // The IOleInPlaceFrame of the form (no reference added).
  IOleInPlaceFrame* Frame() const noexcept;

 private:
  friend class ControlSite;
  friend class Extender;
  friend class UserControl;
  friend class ParentControls;

 protected:
  // Form-level behaviour; the defaults raise the same-named events.
  virtual void Load() { events_.Raise(&FormEvents::Load); }
  virtual void QueryUnload(bool& cancel, UnloadMode mode) {
    events_.Raise(&FormEvents::QueryUnload, cancel, mode);
  }
  virtual void Unload(bool& cancel) { events_.Raise(&FormEvents::Unload, cancel); }
  virtual void Resize() { events_.Raise(&FormEvents::Resize); }
  virtual void Activate() { events_.Raise(&FormEvents::Activate); }
  virtual void Deactivate() { events_.Raise(&FormEvents::Deactivate); }

  MessageResult OnCommand(WORD id, WORD code, HWND control) override;
  MessageResult OnClose() override;
  MessageResult OnSize(UINT kind, int width, int height) override;
  MessageResult OnActivate(UINT state, bool minimized, HWND other) override;

 private:
  Extender& AddItem(std::unique_ptr<Extender> item);
  Extender* ItemOfWindow(HWND window) const noexcept;
  std::vector<Extender*> TabOrder() const;
  void RenumberTabOrder(Extender* moved, int16_t index);
  void NotifyAmbientChanged(DISPID dispid);
  static void NotifyAmbientChanged(UserControl& control, DISPID dispid);
  bool HandleFormKey(const MSG& message);
  void ClickButton(Extender& button);
  void DestroyItem(std::vector<std::unique_ptr<Extender>>::iterator position) noexcept;
  // Destroys the controls placed in `item` (when it is a frame), then `item`.
  void DestroyWithPlacedControls(Extender& item) noexcept;
  bool Dispatch(MSG& message);
  void PropertyChangedBy(UserControl& control);
  void ApplyFontToPlainControls() noexcept;
  // Remembers the focused control when the form is deactivated and gives it the focus again when
  // the form is activated; true when it did (the default activation must then be skipped).
  bool KeepFocusAcrossActivation(UINT state, bool minimized) noexcept;

  // Hands what a frame's children send to their parent on to the form.
  class FrameForwarder final : public MessageHandler {
   public:
    explicit FrameForwarder(Form& form) noexcept : form_(form) {}

   protected:
    CallGuarded& KeepAliveObject() noexcept override { return form_; }
    MessageResult OnMessage(UINT message, WPARAM w_param, LPARAM l_param) override;

   private:
    Form& form_;
  };

  HRESULT ole_init_;                                  // OleInitialize's answer, undone if it worked
  FrameForwarder frame_forwarder_{*this};             // outlives every frame (declared first)
  HandlerSubclass frame_receiver_{frame_forwarder_};  // the frames' subclass receiver
  UniqueFont plain_font_;                             // the form's font for plain controls
  UniqueWindow window_;
  std::vector<std::unique_ptr<Extender>> items_;  // in the order they were added
  ComPtr<FormFrame> frame_;                       // the in-place frame of every site
  FontRef font_;                                  // the ambient font
  FontSubscription font_subscription_;            // reports the font's attribute changes
  bool user_mode_ = true;
  bool right_to_left_ = false;
  bool modified_ = false;
  ScaleUnit scale_mode_ = ScaleUnit::kTwips;
  Extender* default_button_ = nullptr;
  Extender* cancel_button_ = nullptr;
  int next_control_id_ = 1000;  // menu identifiers of plain controls
  int quit_code_ = 0;           // wParam of the WM_QUIT that ended the loop
  bool loaded_ = false;         // Load ran and the form was not closed since
  bool ends_loop_on_close_ = true;
  HWND focus_before_deactivation_ = nullptr;  // the focused control when the form was deactivated
  EventSink<FormEvents> events_;
};

}  // namespace veltrin::controls
