// The form's control collection: hosting user controls and plain Win32 controls, removing them,
// finding them by name or window, and saving the user controls' properties.
#include "controls/base/host/form.h"

#include <algorithm>
#include <utility>

#include "common/run_time_error.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/form_window_classes.h"
#include "controls/base/host/user_control.h"
#include "controls/base/host/user_control_object.h"
#include "controls/base/window/window_procedure.h"

namespace veltrin::controls {

namespace {

bool SameObject(IUnknown* a, IUnknown* b) noexcept {
  if (!a || !b) return false;
  ComPtr<IUnknown> identity_a;
  ComPtr<IUnknown> identity_b;
  if (FAILED(a->QueryInterface(IID_IUnknown, identity_a.PutVoid())) ||
      FAILED(b->QueryInterface(IID_IUnknown, identity_b.PutVoid()))) {
    return false;
  }
  return identity_a.Get() == identity_b.Get();
}

}  // namespace

Extender& Form::AddItem(std::unique_ptr<Extender> item) {
  item->tab_index_ = static_cast<int16_t>(items_.size());
  items_.push_back(std::move(item));
  return *items_.back();
}

Extender& Form::AddControl(std::unique_ptr<UserControl> control, std::wstring name, RECT bounds,
                           PropertyBag* bag) {
  if (!control || Find(name)) throw RunTimeError(kInvalidProcedureCall);
  UserControl& hosted = *control;
  auto item = std::unique_ptr<Extender>(new Extender(*this, std::move(name)));
  WindowCreation creation{form_detail::kUserControlClass, L"",
                          WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                          WS_EX_CONTROLPARENT};
  creation.parent = hWnd();
  item->window_ = CreateHandlerWindow(hosted.container_, creation.At(bounds));
  const HWND window = item->window_.Get();
  item->control_ = std::move(control);
  hosted.form_ = this;
  hosted.extender_ = item.get();
  hosted.object_ = CreateUserControlObject(hosted);
  item->site_ = ComPtr<ControlSite>::Attach(new ControlSite(*this, *item));
  ComPtr<IOleObject> ole_object;
  if (SUCCEEDED(hosted.object_->QueryInterface(IID_IOleObject, ole_object.PutVoid()))) {
    ole_object->SetClientSite(static_cast<IOleClientSite*>(item->site_.Get()));
  }
  Extender& added = AddItem(std::move(item));
  try {
    hosted.Initialize();
    hosted.initialized_ = true;  // from here on, Terminate follows whatever fails
    if (bag) {
      hosted.ReadProperties(*bag);
    } else {
      hosted.InitProperties();
    }
    hosted.live_ = true;
    hosted.Resize();
    hosted.UpdateDropRegistration();
    added.site_->RefreshControlInfo();
    ShowWindow(window, SW_SHOWNA);
  } catch (...) {
    RemoveControl(added.Name());
    throw;
  }
  return added;
}

Extender& Form::AddNativeControl(const wchar_t* window_class, std::wstring name,
                                 std::wstring caption, DWORD style, RECT bounds) {
  if (Find(name)) throw RunTimeError(kInvalidProcedureCall);
  auto item = std::unique_ptr<Extender>(new Extender(*this, std::move(name)));
  const HWND window = CreateWindowExW(
      0, window_class, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, hWnd(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_control_id_++)), GetModuleHandleW(nullptr),
      nullptr);
  if (!window) throw RunTimeError(kInvalidProcedureCall);
  item->window_.Reset(window);
  HGDIOBJ font = plain_font_ ? plain_font_.Get() : GetStockObject(DEFAULT_GUI_FONT);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  item->tab_stop_ = (style & WS_TABSTOP) != 0;
  return AddItem(std::move(item));
}

Extender& Form::AddButton(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption),
                          WS_TABSTOP | BS_PUSHBUTTON, bounds);
}

Extender& Form::AddCheckBox(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption),
                          WS_TABSTOP | BS_AUTOCHECKBOX, bounds);
}

Extender& Form::AddFrame(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption), BS_GROUPBOX, bounds);
}

void Form::RemoveControl(std::wstring_view name) {
  const auto named = [&] {
    return std::find_if(items_.begin(), items_.end(),
                        [&](const auto& item) { return item->Name() == name; });
  };
  const auto found = named();
  if (found != items_.end()) DestroyWithPlacedControls(**found);
}

void Form::DestroyItem(std::vector<std::unique_ptr<Extender>>::iterator position) noexcept {
  std::unique_ptr<Extender> item = std::move(*position);
  items_.erase(position);
  if (default_button_ == item.get()) default_button_ = nullptr;
  if (cancel_button_ == item.get()) cancel_button_ = nullptr;
  auto order = TabOrder();
  for (size_t i = 0; i < order.size(); ++i) order[i]->tab_index_ = static_cast<int16_t>(i);

  if (UserControl* control = item->Control()) {
    IUnknown* object = control->ControlUnknown();
    if (frame_ && SameObject(frame_->ActiveObject(), object)) {
      frame_->SetActiveObject(nullptr, nullptr);
    }
    control->live_ = false;
    if (std::exchange(control->initialized_, false)) {
      try {
        control->Terminate();
      } catch (...) {
        // Terminate has no caller to report to; the control goes all the same.
      }
    }
    if (control->drop_registered_) {
      RevokeDragDrop(control->hWnd());
      control->drop_registered_ = false;
    }
    ComPtr<IOleObject> ole_object;
    if (object && SUCCEEDED(object->QueryInterface(IID_IOleObject, ole_object.PutVoid()))) {
      ole_object->SetClientSite(nullptr);
    }
    ole_object.Reset();
    DetachUserControlObject(object);
    control->object_.Reset();
  }
  if (item->site_) item->site_->Detach();
  item->site_.Reset();
  // The window goes first: what it sends while it is destroyed reaches a live control. A control
  // removed from inside one of its own messages is deleted when that message returns.
  item->window_.Reset();
  if (UserControl* control = item->Control()) {
    control->form_ = nullptr;
    control->extender_ = nullptr;
  }
  CallGuarded::Delete(std::move(item->control_));
}

Extender* Form::Find(std::wstring_view name) const noexcept {
  for (const auto& item : items_) {
    if (item->Name() == name) return item.get();
  }
  return nullptr;
}

Extender* Form::ItemOfWindow(HWND window) const noexcept {
  if (!window) return nullptr;
  // The window itself first: a control in a frame is also a child of the frame.
  for (const auto& item : items_) {
    if (item->hWnd() == window) return item.get();
  }
  for (HWND ancestor = GetParent(window); ancestor && ancestor != hWnd();
       ancestor = GetParent(ancestor)) {
    for (const auto& item : items_) {
      if (item->hWnd() == ancestor) return item.get();
    }
  }
  return nullptr;
}

std::map<std::wstring, PropertyBag> Form::SaveControls() {
  std::map<std::wstring, PropertyBag> bags;
  for (const auto& item : items_) {
    if (UserControl* control = item->Control()) control->WriteProperties(bags[item->Name()]);
  }
  modified_ = false;
  return bags;
}

void Form::PropertyChangedBy(UserControl&) {
  modified_ = true;
}

}  // namespace veltrin::controls
