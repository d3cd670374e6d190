// The form's in-place frame and the per-control sites. COM methods never throw: every path that
// reaches host code that could is guarded.
#include "controls/base/host/control_site.h"

#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {

// ---- FormFrame ----

void FormFrame::Detach() noexcept {
  active_.Reset();
  form_ = nullptr;
}

HRESULT FormFrame::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
      iid == IID_IOleInPlaceFrame) {
    return HandOutInterface(static_cast<IOleInPlaceFrame*>(this), object);
  }
  return E_NOINTERFACE;
}

HRESULT FormFrame::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = form_ ? form_->hWnd() : nullptr;
  return form_ ? S_OK : E_UNEXPECTED;
}

HRESULT FormFrame::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}
HRESULT FormFrame::GetBorder(LPRECT) {
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT FormFrame::RequestBorderSpace(LPCBORDERWIDTHS) {
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT FormFrame::SetBorderSpace(LPCBORDERWIDTHS widths) {
  return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

HRESULT FormFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (!form_) return object ? E_UNEXPECTED : S_OK;
  active_ = ComPtr<IOleInPlaceActiveObject>(object);
  return S_OK;
}

HRESULT FormFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
  return E_NOTIMPL;
}
HRESULT FormFrame::SetMenu(HMENU, HOLEMENU, HWND) {
  return S_OK;
}
HRESULT FormFrame::RemoveMenus(HMENU) {
  return E_NOTIMPL;
}
HRESULT FormFrame::SetStatusText(LPCOLESTR) {
  return S_OK;
}
HRESULT FormFrame::EnableModeless(BOOL) {
  return S_OK;
}
HRESULT FormFrame::TranslateAccelerator(LPMSG, WORD) {
  return S_FALSE;
}

// ---- ControlSite ----

void ControlSite::Detach() noexcept {
  form_ = nullptr;
  item_ = nullptr;
}

void ControlSite::RefreshControlInfo() noexcept {
  if (!item_ || !item_->Control()) return;
  IUnknown* object = item_->Control()->ControlUnknown();
  if (!object) return;
  ComPtr<IOleControl> control;
  if (FAILED(object->QueryInterface(IID_IOleControl, control.PutVoid()))) return;
  CONTROLINFO info{sizeof(CONTROLINFO), nullptr, 0, 0};
  if (SUCCEEDED(control->GetControlInfo(&info))) control_info_ = info;
}

HRESULT ControlSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    return HandOutInterface(static_cast<IOleClientSite*>(this), object);
  }
  if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
    return HandOutInterface(static_cast<IOleInPlaceSite*>(this), object);
  }
  if (iid == IID_IOleControlSite)
    return HandOutInterface(static_cast<IOleControlSite*>(this), object);
  return E_NOINTERFACE;
}

HRESULT ControlSite::SaveObject() {
  return S_OK;
}
HRESULT ControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HRESULT ControlSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}
HRESULT ControlSite::ShowObject() {
  return S_OK;
}
HRESULT ControlSite::OnShowWindow(BOOL) {
  return S_OK;
}
HRESULT ControlSite::RequestNewObjectLayout() {
  return E_NOTIMPL;
}

HRESULT ControlSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = form_ ? form_->hWnd() : nullptr;
  return form_ ? S_OK : E_UNEXPECTED;
}

HRESULT ControlSite::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}
HRESULT ControlSite::CanInPlaceActivate() {
  return S_OK;
}
HRESULT ControlSite::OnInPlaceActivate() {
  return S_OK;
}
HRESULT ControlSite::OnUIActivate() {
  return S_OK;
}

HRESULT ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                      LPRECT position, LPRECT clip,
                                      LPOLEINPLACEFRAMEINFO frame_info) {
  if (!frame || !doc || !position || !clip) return E_POINTER;
  *frame = nullptr;
  *doc = nullptr;  // the frame is the document window too
  if (!form_ || !item_) return E_UNEXPECTED;
  *frame = form_->Frame();
  (*frame)->AddRef();
  *position = item_->PixelBounds();
  GetClientRect(form_->hWnd(), clip);
  if (frame_info) {
    frame_info->fMDIApp = FALSE;
    frame_info->hwndFrame = form_->hWnd();
    frame_info->haccel = nullptr;
    frame_info->cAccelEntries = 0;
  }
  return S_OK;
}

HRESULT ControlSite::Scroll(SIZE) {
  return E_NOTIMPL;
}
HRESULT ControlSite::OnUIDeactivate(BOOL) {
  return S_OK;
}
HRESULT ControlSite::OnInPlaceDeactivate() {
  return S_OK;
}
HRESULT ControlSite::DiscardUndoState() {
  return S_OK;
}
HRESULT ControlSite::DeactivateAndUndo() {
  return S_OK;
}

HRESULT ControlSite::OnPosRectChange(LPCRECT position) {
  if (!position) return E_POINTER;
  if (!item_) return E_UNEXPECTED;
  try {
    item_->SetPixelBounds(*position);
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ControlSite::OnControlInfoChanged() {
  if (!item_) return E_UNEXPECTED;
  ++control_info_changes_;
  RefreshControlInfo();
  return S_OK;
}

HRESULT ControlSite::LockInPlaceActive(BOOL) {
  return S_OK;
}

HRESULT ControlSite::GetExtendedControl(IDispatch** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
  if (!himetric || !container) return E_POINTER;
  if (!form_) return E_UNEXPECTED;
  try {
    const ScaleUnit unit = form_->ScaleMode();
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
      container->x =
          static_cast<float>(ConvertScale(himetric->x, ScaleUnit::kHimetric, unit, true));
      container->y =
          static_cast<float>(ConvertScale(himetric->y, ScaleUnit::kHimetric, unit, false));
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
      himetric->x = static_cast<LONG>(ConvertScale(container->x, unit, ScaleUnit::kHimetric, true));
      himetric->y =
          static_cast<LONG>(ConvertScale(container->y, unit, ScaleUnit::kHimetric, false));
    } else {
      return E_INVALIDARG;
    }
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ControlSite::TranslateAccelerator(MSG*, DWORD) {
  return S_FALSE;
}

HRESULT ControlSite::OnFocus(BOOL got_focus) {
  reported_focus_ = got_focus != FALSE;
  return S_OK;
}

HRESULT ControlSite::ShowPropertyFrame() {
  return E_NOTIMPL;
}

}  // namespace veltrin::controls
