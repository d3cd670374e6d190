// The form's ambient values (user mode, font, right-to-left), which every user control is told
// about when they change, the font of the plain controls, and the scale mode.
#include "controls/base/host/form.h"

#include <utility>

#include "common/run_time_error.h"
#include "controls/base/fonts.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {

void Form::NotifyAmbientChanged(DISPID dispid) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (UserControl* control = items_[i]->Control()) NotifyAmbientChanged(*control, dispid);
  }
}

void Form::NotifyAmbientChanged(UserControl& control, DISPID dispid) {
  if (!control.ControlUnknown()) return;
  ComPtr<IOleControl> ole_control;
  if (SUCCEEDED(control.ControlUnknown()->QueryInterface(IID_IOleControl, ole_control.PutVoid()))) {
    ole_control->OnAmbientPropertyChange(dispid);
  }
}

void Form::SetUserMode(bool user_mode) {
  if (user_mode == user_mode_) return;
  user_mode_ = user_mode;
  NotifyAmbientChanged(DISPID_AMBIENT_USERMODE);
}

void Form::SetFont(FontRef font) {
  if (!font) throw RunTimeError(kInvalidPropertyValue);
  font_subscription_.Reset();
  font_ = std::move(font);
  font_subscription_ = font_->Subscribe([this](const std::wstring&) {
    ApplyFontToPlainControls();
    NotifyAmbientChanged(DISPID_AMBIENT_FONT);
  });
  ApplyFontToPlainControls();
  NotifyAmbientChanged(DISPID_AMBIENT_FONT);
}

void Form::SetRightToLeft(bool right_to_left) {
  if (right_to_left == right_to_left_) return;
  right_to_left_ = right_to_left;
  NotifyAmbientChanged(DISPID_AMBIENT_RIGHTTOLEFT);
}

void Form::SetScaleMode(ScaleUnit mode) {
  if (mode == ScaleUnit::kContainerPosition || mode == ScaleUnit::kContainerSize ||
      static_cast<int>(mode) < 1 || static_cast<int>(mode) > 8) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  scale_mode_ = mode;
}

double Form::ScaleX(double value, ScaleUnit from, ScaleUnit to) const {
  auto resolve = [this](ScaleUnit unit) {
    return unit == ScaleUnit::kContainerPosition || unit == ScaleUnit::kContainerSize ? scale_mode_
                                                                                      : unit;
  };
  return ConvertScale(value, resolve(from), resolve(to), true);
}

double Form::ScaleY(double value, ScaleUnit from, ScaleUnit to) const {
  auto resolve = [this](ScaleUnit unit) {
    return unit == ScaleUnit::kContainerPosition || unit == ScaleUnit::kContainerSize ? scale_mode_
                                                                                      : unit;
  };
  return ConvertScale(value, resolve(from), resolve(to), false);
}

void Form::ApplyFontToPlainControls() noexcept {
  UniqueFont font = CreateGdiFont(*font_);
  if (!font) return;  // GDI refused: the controls keep the font they have
  for (const auto& item : items_) {
    if (!item->Control()) {
      SendMessageW(item->hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
  }
  plain_font_ = std::move(font);  // the old font is deleted after no control uses it
}

}  // namespace veltrin::controls
