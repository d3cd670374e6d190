// The shared COM implementation behind every user control. Host code calls it only through
// interface pointers, so a patched table entry is always honoured; the class is local to this file
// so that no caller can bypass the tables.
#include "controls/base/host/user_control_object.h"

#include <ocidl.h>
#include <olectl.h>

#include "controls/base/com_object.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/user_control.h"
#include "common/utf16.h"

namespace veltrin::controls {

class UserControlObject
    : public ComRefCounted<IOleObject, IOleControl, IOleInPlaceObject, IOleInPlaceActiveObject,
                           IPerPropertyBrowsing, IDispatch> {
 public:
  explicit UserControlObject(UserControl& control) noexcept : control_(&control) {}
  void Detach() noexcept {
    control_ = nullptr;
    site_.Reset();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    site_ = ComPtr<IOleClientSite>(site);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND,
                                   LPCRECT) override {
    if (!control_) return E_UNEXPECTED;
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_INPLACEACTIVATE:
      case OLEIVERB_UIACTIVATE:
        return S_OK;
      case OLEIVERB_HIDE:
        ShowWindow(control_->hWnd(), SW_HIDE);
        return S_OK;
      default:
        return OLEOBJ_S_INVALIDVERB;
    }
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override {
    if (verbs) *verbs = nullptr;
    return OLEOBJ_E_NOVERBS;
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* name) override {
    if (name) *name = nullptr;
    return OLE_S_USEREG;
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) override {
    if (connection) *connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override {
    if (advise) *advise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleControl: the host's own answers; a control changes them through its companion.
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
    if (!info) return E_POINTER;
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) override {
    return message ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispid) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  // IOleWindow (shared by the two in-place interfaces)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = control_ ? control_->hWnd() : nullptr;
    return *window ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

  // IOleInPlaceActiveObject: the host translates no keys itself; the form does.
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override {
    return message ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IPerPropertyBrowsing: the host's defaults (no strings, no pages).
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID* page) override {
    if (!page) return E_POINTER;
    *page = CLSID_NULL;
    return PERPROP_E_NOPAGEAVAILABLE;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR* strings,
                                                 CADWORD* cookies) override {
    if (!strings || !cookies) return E_POINTER;
    *strings = {0, nullptr};
    *cookies = {0, nullptr};
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT* value) override {
    return value ? E_NOTIMPL : E_POINTER;
  }

  // IDispatch: member identifiers by name; invoking goes through the C++ members instead.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  virtual ~UserControlObject() = default;

  UserControl* control_;         // null once the control is gone
  ComPtr<IOleClientSite> site_;  // the form's site for this control
};

namespace {

// The ambient properties the host reports by name.
const wchar_t* AmbientName(DISPID dispid) noexcept {
  switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
      return L"UserMode";
    case DISPID_AMBIENT_DISPLAYNAME:
      return L"DisplayName";
    case DISPID_AMBIENT_FONT:
      return L"Font";
    case DISPID_AMBIENT_RIGHTTOLEFT:
      return L"RightToLeft";
    default:
      return nullptr;
  }
}

}  // namespace

HRESULT UserControlObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleObject) {
    return HandOutInterface(static_cast<IOleObject*>(this), object);
  }
  if (iid == IID_IOleControl) return HandOutInterface(static_cast<IOleControl*>(this), object);
  if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
    return HandOutInterface(static_cast<IOleInPlaceObject*>(this), object);
  }
  if (iid == IID_IOleInPlaceActiveObject) {
    return HandOutInterface(static_cast<IOleInPlaceActiveObject*>(this), object);
  }
  if (iid == IID_IPerPropertyBrowsing)
    return HandOutInterface(static_cast<IPerPropertyBrowsing*>(this), object);
  if (iid == IID_IDispatch) return HandOutInterface(static_cast<IDispatch*>(this), object);
  if (!control_) return E_NOINTERFACE;
  try {
    return control_->QueryCompanion(iid, object);
  } catch (...) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
}

HRESULT UserControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!control_ || !control_->hWnd()) return E_UNEXPECTED;
  try {
    const int width = static_cast<int>(
        ConvertScale(size->cx, ScaleUnit::kHimetric, ScaleUnit::kPixels, true) + 0.5);
    const int height = static_cast<int>(
        ConvertScale(size->cy, ScaleUnit::kHimetric, ScaleUnit::kPixels, false) + 0.5);
    SetWindowPos(control_->hWnd(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT UserControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!control_) return E_UNEXPECTED;
  try {
    size->cx = static_cast<LONG>(
        ConvertScale(control_->ClientWidth(), ScaleUnit::kPixels, ScaleUnit::kHimetric, true) +
        0.5);
    size->cy = static_cast<LONG>(
        ConvertScale(control_->ClientHeight(), ScaleUnit::kPixels, ScaleUnit::kHimetric, false) +
        0.5);
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT UserControlObject::OnAmbientPropertyChange(DISPID dispid) {
  if (!control_) return E_UNEXPECTED;
  static constexpr DISPID kAll[] = {DISPID_AMBIENT_USERMODE, DISPID_AMBIENT_DISPLAYNAME,
                                    DISPID_AMBIENT_FONT, DISPID_AMBIENT_RIGHTTOLEFT};
  try {
    if (dispid == DISPID_UNKNOWN) {
      for (DISPID each : kAll) control_->AmbientChanged(AmbientName(each));
    } else if (const wchar_t* name = AmbientName(dispid)) {
      control_->AmbientChanged(name);
    }
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT UserControlObject::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  if (!control_ || !control_->hWnd()) return E_UNEXPECTED;
  // The window moves within the form; WM_SIZE then delivers Resize when the size changed.
  SetWindowPos(control_->hWnd(), nullptr, position->left, position->top,
               position->right - position->left, position->bottom - position->top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT UserControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                         DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!control_) return E_UNEXPECTED;
  HRESULT result = S_OK;
  try {
    const auto table = control_->DispatchNames();
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i > 0 || !names[i]) {  // named arguments are not supported
        result = DISP_E_UNKNOWNNAME;
        continue;
      }
      for (const DispatchName& entry : table) {
        if (EqualsIgnoreCase(AsU16(names[i]), AsU16(entry.name))) {
          ids[i] = entry.id;
          break;
        }
      }
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
  } catch (...) {
    return E_FAIL;
  }
  return result;
}

ComPtr<IUnknown> CreateUserControlObject(UserControl& control) {
  return ComPtr<IUnknown>::Attach(static_cast<IOleObject*>(new UserControlObject(control)));
}

void DetachUserControlObject(IUnknown* object) noexcept {
  if (object) static_cast<UserControlObject*>(static_cast<IOleObject*>(object))->Detach();
}

}  // namespace veltrin::controls
