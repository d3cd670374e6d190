// The control's conversations with its site: window context, object rectangles, control
// information notices, and member identifiers.
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "common/run_time_error.h"
#include "controls/base/interception/site_context.h"
#include "controls/base/interception/vtable_handle.h"

namespace veltrin::controls {
namespace interception_detail {

ComPtr<IOleClientSite> ClientSiteOf(IUnknown* object) noexcept {
  ComPtr<IOleClientSite> site;
  auto ole_object = ComPtr<IUnknown>(object).Query<IOleObject>(IID_IOleObject);
  if (!ole_object || FAILED(ole_object->GetClientSite(site.Put()))) site.Reset();
  return site;
}

bool QueryWindowContext(IUnknown* object, InPlaceWindowContext& context) noexcept {
  auto site = ClientSiteOf(object).Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
  if (!site) return false;
  context.frame_info.cb = sizeof(context.frame_info);
  const HRESULT hr = site->GetWindowContext(context.frame.Put(), context.document.Put(),
                                            &context.position, &context.clip, &context.frame_info);
  return SUCCEEDED(hr) && context.frame;
}

}  // namespace interception_detail

void SyncObjectRects(IUnknown* control) noexcept {
  interception_detail::InPlaceWindowContext context;
  if (!interception_detail::QueryWindowContext(control, context)) return;
  if (auto object = ComPtr<IUnknown>(control).Query<IOleInPlaceObject>(IID_IOleInPlaceObject))
    object->SetObjectRects(&context.position, &context.clip);
}

void NotifyControlInfoChanged(IUnknown* control, bool focused) noexcept {
  auto site =
      interception_detail::ClientSiteOf(control).Query<IOleControlSite>(IID_IOleControlSite);
  if (!site) return;
  site->OnControlInfoChanged();
  if (focused) site->OnFocus(TRUE);
}

DISPID GetDispId(IUnknown* object, const std::wstring& name) {
  if (!object) throw RunTimeError(kObjectVariableNotSet);
  auto dispatch = ComPtr<IUnknown>(object).Query<IDispatch>(IID_IDispatch);
  std::wstring member = name;
  LPOLESTR names[] = {member.data()};
  DISPID id = DISPID_UNKNOWN;
  if (!dispatch || FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id)))
    throw RunTimeError(kObjectDoesNotSupportMember);
  return id;
}

}  // namespace veltrin::controls
