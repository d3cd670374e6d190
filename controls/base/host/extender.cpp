// Extender members: position in the form's units, visibility, tab order, focus and z-order.
#include "controls/base/host/extender.h"

#include <cmath>

#include "common/run_time_error.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {

Extender::Extender(Form& form, std::wstring name) : form_(form), name_(std::move(name)) {}

void Extender::SetName(std::wstring name) {
  name_ = std::move(name);
  if (control_) Form::NotifyAmbientChanged(*control_, DISPID_AMBIENT_DISPLAYNAME);
}

Extender::~Extender() = default;

RECT Extender::PixelBounds() const noexcept {
  RECT bounds{};
  if (!window_) return bounds;
  GetWindowRect(window_.Get(), &bounds);
  // In the client area of the parent: the form, or the frame the control was placed in.
  MapWindowPoints(nullptr, GetParent(window_.Get()), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void Extender::SetPixelBounds(const RECT& bounds) {
  if (!window_) return;
  if (control_ && control_->ControlUnknown()) {
    // The host tells a user control where it goes through its in-place object, like any host.
    ComPtr<IOleInPlaceObject> in_place;
    if (SUCCEEDED(control_->ControlUnknown()->QueryInterface(IID_IOleInPlaceObject,
                                                             in_place.PutVoid()))) {
      RECT clip{};
      GetClientRect(GetParent(window_.Get()), &clip);
      in_place->SetObjectRects(&bounds, &clip);
      return;
    }
  }
  SetWindowPos(window_.Get(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

double Extender::Left() const {
  return form_.ScaleX(PixelBounds().left, ScaleUnit::kPixels, form_.ScaleMode());
}
double Extender::Top() const {
  return form_.ScaleY(PixelBounds().top, ScaleUnit::kPixels, form_.ScaleMode());
}
double Extender::Width() const {
  const RECT r = PixelBounds();
  return form_.ScaleX(r.right - r.left, ScaleUnit::kPixels, form_.ScaleMode());
}
double Extender::Height() const {
  const RECT r = PixelBounds();
  return form_.ScaleY(r.bottom - r.top, ScaleUnit::kPixels, form_.ScaleMode());
}

void Extender::SetLeft(double value) {
  Move(value, Top(), Width(), Height());
}
void Extender::SetTop(double value) {
  Move(Left(), value, Width(), Height());
}
void Extender::SetWidth(double value) {
  Move(Left(), Top(), value, Height());
}
void Extender::SetHeight(double value) {
  Move(Left(), Top(), Width(), value);
}

void Extender::Move(double left, double top, double width, double height) {
  if (width < 0 || height < 0) throw RunTimeError(kInvalidPropertyValue);
  const ScaleUnit unit = form_.ScaleMode();
  auto pixels_x = [&](double v) {
    return static_cast<LONG>(std::lround(form_.ScaleX(v, unit, ScaleUnit::kPixels)));
  };
  auto pixels_y = [&](double v) {
    return static_cast<LONG>(std::lround(form_.ScaleY(v, unit, ScaleUnit::kPixels)));
  };
  const LONG x = pixels_x(left);
  const LONG y = pixels_y(top);
  SetPixelBounds(RECT{x, y, x + pixels_x(width), y + pixels_y(height)});
}

bool Extender::Visible() const noexcept {
  return window_ && (GetWindowLongPtrW(window_.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Extender::SetVisible(bool visible) {
  if (window_) ShowWindow(window_.Get(), visible ? SW_SHOWNA : SW_HIDE);
}

void Extender::SetDragMode(int16_t mode) {
  if (mode < 0 || mode > 1) throw RunTimeError(kInvalidPropertyValue);
  drag_mode_ = mode;
}

void Extender::Drag(int16_t action) {
  if (action < 0 || action > 2) throw RunTimeError(kInvalidPropertyValue);
  dragging_ = action == 1;
}

void Extender::SetFocus() {
  form_.FocusControl(*this);
}

void Extender::ZOrder(int16_t position) {
  if (position < 0 || position > 1) throw RunTimeError(kInvalidProcedureCall);
  SetWindowPos(window_.Get(), position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Extender::SetTabIndex(int16_t index) {
  if (index < 0) throw RunTimeError(kInvalidPropertyValue);
  form_.RenumberTabOrder(this, index);
}

}  // namespace veltrin::controls
