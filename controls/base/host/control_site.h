// The container side of the COM conversation: one site per hosted user control (client site,
// in-place site, control site) and one in-place frame per form, whose SetActiveObject names the
// object that the message loop offers keys to.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include "controls/base/com_object.h"
#include "controls/base/com_ptr.h"

namespace veltrin::controls {

class Extender;
class Form;

class FormFrame : public ComRefCounted<IOleInPlaceFrame> {
 public:
  explicit FormFrame(Form& form) noexcept : form_(&form) {}
  // Lets go of the active object and of the form; later calls answer E_UNEXPECTED.
  void Detach() noexcept;
  IOleInPlaceActiveObject* ActiveObject() const noexcept { return active_.Get(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter_mode) override;
  // IOleInPlaceUIWindow
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT border) override;
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object,
                                            LPCOLESTR name) override;
  // IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND object) override;
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, WORD id) override;

 private:
  virtual ~FormFrame() = default;

  Form* form_;                              // null once detached
  ComPtr<IOleInPlaceActiveObject> active_;  // set through SetActiveObject
};

class ControlSite : public ComRefCounted<IOleClientSite, IOleInPlaceSite, IOleControlSite> {
 public:
  ControlSite(Form& form, Extender& item) noexcept : form_(&form), item_(&item) {}
  // Forgets the form and the control; later calls answer E_UNEXPECTED.
  void Detach() noexcept;
  // The control information last read (at hosting, and on every OnControlInfoChanged).
  const CONTROLINFO& ControlInfo() const noexcept { return control_info_; }
  // How many times the control reported changed control information.
  int ControlInfoChanges() const noexcept { return control_info_changes_; }
  // The control's last OnFocus report.
  bool ReportedFocus() const noexcept { return reported_focus_; }
  // Reads the control information through the control's IOleControl.
  void RefreshControlInfo() noexcept;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override;
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter_mode) override;
  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnUIActivate() override;
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT position, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO frame_info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;
  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override;
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL lock) override;
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** control) override;
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container,
                                            DWORD flags) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message, DWORD modifiers) override;
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL got_focus) override;
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override;

 private:
  virtual ~ControlSite() = default;

  Form* form_;      // null once detached
  Extender* item_;  // null once detached
  CONTROLINFO control_info_{sizeof(CONTROLINFO), nullptr, 0, 0};
  int control_info_changes_ = 0;
  bool reported_focus_ = false;
};

}  // namespace veltrin::controls
