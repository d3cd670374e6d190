// The fake host, site and companions used by the interception tests. Each class is one C++ class
// with one virtual table per interface, shared by all its instances like a real host's.
#include "base/support/fake_ole_host.h"

#include <stdexcept>

namespace veltrin::controls::testing {
namespace {

// Counts references without owning the object's lifetime (the test's handle owns it).
class RefCounter {
 public:
  ULONG Add() { return ++count_; }
  ULONG Remove() { return count_ > 0 ? --count_ : 0; }
  ULONG Count() const { return count_; }

 private:
  ULONG count_ = 1;  // the handle's own reference
};

// Holds an active object as a container does: a reference on the current one.
void ReplaceActive(IOleInPlaceActiveObject*& held, IOleInPlaceActiveObject* next) {
  if (next) next->AddRef();
  if (held) held->Release();
  held = next;
}

}  // namespace

class FakeCompanions final : public IOleControlVB,
                             public IOleInPlaceActiveObjectVB,
                             public IPerPropertyBrowsingVB {
 public:
  CompanionScript script;
  std::vector<KeyCall> mnemonics;
  std::vector<KeyCall> translations;
  std::vector<DISPID> disp_ids;
  RefCounter refs;

  IUnknown* Unknown() { return static_cast<IOleControlVB*>(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (IsEqualIID(iid, IID_IUnknown))
      *result = Unknown();
    else if (IsEqualIID(iid, IID_IOleControlVB) && script.control_info)
      *result = static_cast<IOleControlVB*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObjectVB) && script.accelerators)
      *result = static_cast<IOleInPlaceActiveObjectVB*>(this);
    else if (IsEqualIID(iid, IID_IPerPropertyBrowsingVB) && script.property_browsing)
      *result = static_cast<IPerPropertyBrowsingVB*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs.Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return refs.Remove(); }

  HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count, HACCEL& accel_table,
                                           int32_t& flags) override {
    MaybeThrow();
    handled = script.info_handled;
    accel_count = script.accel_count;
    accel_table = script.accel_table;
    flags = script.info_flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(bool& handled, UINT message, WPARAM w_param, LPARAM l_param,
                                       int32_t shift) override {
    MaybeThrow();
    mnemonics.push_back({message, w_param, l_param, shift});
    handled = script.mnemonic_handled;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(bool& handled, HRESULT& ret_val, UINT message,
                                                 WPARAM w_param, LPARAM l_param,
                                                 int32_t shift) override {
    MaybeThrow();
    translations.push_back({message, w_param, l_param, shift});
    handled = script.translate_handled;
    if (handled) ret_val = script.translate_result;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayString(bool& handled, DISPID disp_id,
                                             std::wstring& display_name) override {
    MaybeThrow();
    disp_ids.push_back(disp_id);
    handled = script.display_handled;
    display_name = script.display_name;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(bool& handled, DISPID disp_id,
                                                 std::vector<std::wstring>& strings,
                                                 std::vector<int32_t>& cookies) override {
    MaybeThrow();
    disp_ids.push_back(disp_id);
    handled = script.strings_handled;
    strings = script.strings;
    strings.emplace_back();
    cookies = script.cookies;
    cookies.resize(script.cookie_bound >= 0 ? script.cookie_bound + 1 : strings.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(bool& handled, DISPID disp_id, int32_t cookie,
                                               VARIANT* value) override {
    MaybeThrow();
    disp_ids.push_back(disp_id);
    handled = script.value_handled;
    if (handled) {
      VariantClear(value);
      value->vt = VT_I4;
      value->lVal = script.value + cookie;
    }
    return S_OK;
  }

 private:
  void MaybeThrow() const {
    if (script.throws) throw std::runtime_error("companion failure");
  }
};

class FakeDocument final : public IOleInPlaceUIWindow {
 public:
  std::vector<IOleInPlaceActiveObject*>* log = nullptr;
  IOleInPlaceActiveObject* active = nullptr;
  RefCounter refs;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IOleWindow) &&
        !IsEqualIID(iid, IID_IOleInPlaceUIWindow))
      return E_NOINTERFACE;
    *result = static_cast<IOleInPlaceUIWindow*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs.Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return refs.Remove(); }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    log->push_back(object);
    ReplaceActive(active, object);
    return S_OK;
  }
};

class FakeSite final : public IOleClientSite,
                       public IOleInPlaceSite,
                       public IOleInPlaceFrame,
                       public IOleControlSite {
 public:
  SiteLog log;
  bool with_document = true;
  RECT position{1, 2, 101, 52};
  RECT clip{1, 2, 51, 52};
  IOleInPlaceActiveObject* frame_active = nullptr;
  FakeDocument document;
  RefCounter refs;

  // Active objects still held at the end are not released: they may be gone already.
  FakeSite() { document.log = &log.document_active; }

  IUnknown* Unknown() { return static_cast<IOleClientSite*>(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
      *result = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceSite) || IsEqualIID(iid, IID_IOleWindow))
      *result = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceFrame) || IsEqualIID(iid, IID_IOleInPlaceUIWindow))
      *result = static_cast<IOleInPlaceFrame*>(this);
    else if (IsEqualIID(iid, IID_IOleControlSite))
      *result = static_cast<IOleControlSite*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs.Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return refs.Remove(); }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (site and frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos_rect, LPRECT clip_rect,
                                             LPOLEINPLACEFRAMEINFO frame_info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    if (with_document) {
      *doc = &document;
      document.AddRef();
    }
    *pos_rect = position;
    *clip_rect = clip;
    frame_info->fMDIApp = FALSE;
    frame_info->hwndFrame = nullptr;
    frame_info->haccel = nullptr;
    frame_info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow and IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    log.frame_active.push_back(object);
    ReplaceActive(frame_active, object);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override {
    ++log.control_info_changed;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL got_focus) override {
    log.focus.push_back(got_focus);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }
};

class FakeHostControl final : public IOleControl,
                              public IPerPropertyBrowsing,
                              public IOleObject,
                              public IOleInPlaceActiveObject,
                              public IOleInPlaceObject {
 public:
  HostLog log;
  IOleClientSite* site = nullptr;  // held by a reference
  IUnknown* companions = nullptr;  // the control behind the host; not referenced
  RefCounter refs;

  ~FakeHostControl() {
    if (site) site->Release();
  }

  IUnknown* Unknown() { return static_cast<IOleControl*>(this); }
  HWND Window() const { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234)); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleControl))
      *result = static_cast<IOleControl*>(this);
    else if (IsEqualIID(iid, IID_IPerPropertyBrowsing))
      *result = static_cast<IPerPropertyBrowsing*>(this);
    else if (IsEqualIID(iid, IID_IOleObject))
      *result = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
      *result = static_cast<IOleInPlaceActiveObject*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow))
      *result = static_cast<IOleInPlaceObject*>(this);
    else if (companions)
      return companions->QueryInterface(iid, result);  // the control's own interfaces
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs.Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return refs.Remove(); }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
    ++log.get_control_info;
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return kHostGetControlInfo;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override {
    ++log.on_mnemonic;
    return kHostOnMnemonic;
  }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  // IPerPropertyBrowsing
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR*) override {
    ++log.get_display_string;
    return kHostGetDisplayString;
  }
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID*) override {
    ++log.map_property_to_page;
    return kHostMapPropertyToPage;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR*, CADWORD*) override {
    ++log.get_predefined_strings;
    return kHostGetPredefinedStrings;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT*) override {
    ++log.get_predefined_value;
    return kHostGetPredefinedValue;
  }

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* client_site) override {
    if (client_site) client_site->AddRef();
    if (site) site->Release();
    site = client_site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** client_site) override {
    *client_site = site;
    if (!site) return E_FAIL;
    site->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow (active object and in-place object)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    ++log.get_window;
    *window = Window();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override {
    ++log.translate_accelerator;
    return kHostTranslateAccelerator;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override {
    ++log.enable_modeless;
    return S_OK;
  }

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override {
    log.position = *position;
    log.clip = *clip;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
};

FakeCompanionsHandle::FakeCompanionsHandle() : impl_(new FakeCompanions) {}
FakeCompanionsHandle::~FakeCompanionsHandle() {
  delete impl_;
}
CompanionScript& FakeCompanionsHandle::Script() {
  return impl_->script;
}
IUnknown* FakeCompanionsHandle::Unknown() {
  return impl_->Unknown();
}
const std::vector<KeyCall>& FakeCompanionsHandle::Mnemonics() const {
  return impl_->mnemonics;
}
const std::vector<KeyCall>& FakeCompanionsHandle::Translations() const {
  return impl_->translations;
}
const std::vector<DISPID>& FakeCompanionsHandle::DispIds() const {
  return impl_->disp_ids;
}
ULONG FakeCompanionsHandle::RefCount() const {
  return impl_->refs.Count();
}

FakeSiteHandle::FakeSiteHandle(bool with_document) : impl_(new FakeSite) {
  impl_->with_document = with_document;
}
FakeSiteHandle::~FakeSiteHandle() {
  delete impl_;
}
IOleClientSite* FakeSiteHandle::ClientSite() {
  return impl_;
}
const SiteLog& FakeSiteHandle::Log() const {
  return impl_->log;
}
void FakeSiteHandle::SetRects(const RECT& position, const RECT& clip) {
  impl_->position = position;
  impl_->clip = clip;
}
IOleInPlaceActiveObject* FakeSiteHandle::FrameActiveObject() const {
  return impl_->frame_active;
}

FakeHostControlHandle::FakeHostControlHandle(FakeSiteHandle& site, FakeCompanionsHandle* companions)
    : impl_(new FakeHostControl) {
  impl_->SetClientSite(site.ClientSite());
  impl_->companions = companions ? companions->Unknown() : nullptr;
}
FakeHostControlHandle::~FakeHostControlHandle() {
  delete impl_;
}
IUnknown* FakeHostControlHandle::Unknown() {
  return impl_->Unknown();
}
IOleControl* FakeHostControlHandle::OleControl() {
  return impl_;
}
IPerPropertyBrowsing* FakeHostControlHandle::PropertyBrowsing() {
  return impl_;
}
IOleInPlaceActiveObject* FakeHostControlHandle::ActiveObject() {
  return impl_;
}
IOleObject* FakeHostControlHandle::OleObject() {
  return impl_;
}
HWND FakeHostControlHandle::Window() const {
  return impl_->Window();
}
const HostLog& FakeHostControlHandle::Log() const {
  return impl_->log;
}
ULONG FakeHostControlHandle::RefCount() const {
  return impl_->refs.Count();
}

}  // namespace veltrin::controls::testing
