// The container window of a user control and the values the host keeps for it.
#include "controls/base/host/user_control.h"

#include "common/run_time_error.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/drag_drop.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"

namespace veltrin::controls {
namespace {

// An OLE colour is an RGB value or a system colour index above the high bit.
bool IsValidColor(OLE_COLOR color) noexcept {
  const DWORD high = color & 0xFF000000;
  if (high == 0) return true;
  return high == 0x80000000 && (color & 0x00FFFFFF) <= COLOR_MENUBAR;
}

COLORREF ToColorRef(OLE_COLOR color) noexcept {
  COLORREF result = 0;
  return SUCCEEDED(OleTranslateColor(color, nullptr, &result)) ? result : 0;
}

}  // namespace

bool AmbientProperties::UserMode() const {
  const Form* form = control_.ContainerForm();
  return form ? form->UserMode() : true;
}

std::wstring AmbientProperties::DisplayName() const {
  return control_.ContainerForm() ? control_.ExtenderObject().Name() : std::wstring();
}

FontRef AmbientProperties::Font() const {
  const Form* form = control_.ContainerForm();
  return form ? form->Font() : std::make_shared<FontObject>();
}

bool AmbientProperties::RightToLeft() const {
  const Form* form = control_.ContainerForm();
  return form ? form->RightToLeft() : false;
}

UserControl::UserControl() = default;

UserControl::~UserControl() = default;

int UserControl::ClientWidth() const noexcept {
  RECT client{};
  if (window_) GetClientRect(window_, &client);
  return client.right;
}

int UserControl::ClientHeight() const noexcept {
  RECT client{};
  if (window_) GetClientRect(window_, &client);
  return client.bottom;
}

void UserControl::Refresh() const noexcept {
  if (!window_) return;
  RedrawWindow(window_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void UserControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled ? TRUE : FALSE);
}

void UserControl::SetBackColor(OLE_COLOR color) {
  if (!IsValidColor(color)) throw RunTimeError(kInvalidPropertyValue);
  back_color_ = color;
  back_brush_.Reset();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void UserControl::SetForeColor(OLE_COLOR color) {
  if (!IsValidColor(color)) throw RunTimeError(kInvalidPropertyValue);
  fore_color_ = color;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void UserControl::SetOLEDropMode(int16_t mode) {
  if (mode < 0 || mode > 1) throw RunTimeError(kInvalidPropertyValue);
  ole_drop_mode_ = mode;
  UpdateDropRegistration();
}

double UserControl::ScaleX(double value, ScaleUnit from, ScaleUnit to) const {
  return form_ ? form_->ScaleX(value, from, to) : ConvertScale(value, from, to, true);
}

double UserControl::ScaleY(double value, ScaleUnit from, ScaleUnit to) const {
  return form_ ? form_->ScaleY(value, from, to) : ConvertScale(value, from, to, false);
}

Extender& UserControl::ExtenderObject() const {
  if (!extender_) throw RunTimeError(kObjectVariableNotSet);
  return *extender_;
}

ParentControls UserControl::ParentControlsCollection() const {
  if (!form_) throw RunTimeError(kObjectVariableNotSet);
  return ParentControls(*form_, const_cast<ParentControlsType&>(parent_controls_type_));
}

void UserControl::PropertyChanged(std::wstring_view) {
  if (form_) form_->PropertyChangedBy(*this);
}

void UserControl::OLEDrag() {
  StartOleDrag(*this);
}

HRESULT UserControl::QueryCompanion(REFIID, void** object) {
  if (object) *object = nullptr;
  return E_NOINTERFACE;
}

HBRUSH UserControl::BackBrush() {
  if (!back_brush_) back_brush_.Reset(CreateSolidBrush(ToColorRef(back_color_)));
  return back_brush_.Get();
}

void UserControl::UpdateDropRegistration() noexcept {
  const bool wanted = window_ && ole_drop_mode_ == 1;
  if (wanted == drop_registered_) return;
  if (wanted) {
    drop_registered_ = RegisterControlDropTarget(*this);
  } else {
    RevokeDragDrop(window_);
    drop_registered_ = false;
  }
}

LRESULT UserControl::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_SIZE:
      if (live_) Resize();
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(w_param), &client, BackBrush());
      return 1;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      const HDC dc = reinterpret_cast<HDC>(w_param);
      SetTextColor(dc, ToColorRef(fore_color_));
      SetBkColor(dc, ToColorRef(back_color_));
      return reinterpret_cast<LRESULT>(BackBrush());
    }
    default:
      return DefWindowProcW(window_, message, w_param, l_param);
  }
}

LRESULT CALLBACK UserControlWindowProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l_param);
    auto* control = static_cast<UserControl*>(create->lpCreateParams);
    control->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  auto* control = reinterpret_cast<UserControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY && control) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    control = nullptr;
  }
  if (!control) return DefWindowProcW(window, message, w_param, l_param);
  try {
    return control->OnMessage(message, w_param, l_param);
  } catch (...) {
    // A notification's error has no caller to go to from a window procedure.
    return DefWindowProcW(window, message, w_param, l_param);
  }
}

}  // namespace veltrin::controls
