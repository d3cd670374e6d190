// The drop target and drop source COM objects; both turn OLE's calls into the control's
// notifications and never let an error out of a COM method.
#include "controls/base/host/drag_drop.h"

#include <ole2.h>

#include <memory>
#include <new>
#include <optional>

#include "controls/base/com_object.h"
#include "controls/base/host/data_object.h"
#include "controls/base/host/user_control.h"
#include "controls/base/input_state.h"

namespace veltrin::controls {

int16_t DragButtonState(DWORD key_state) noexcept {
  return static_cast<int16_t>(ButtonStateFromMouseFlags(key_state));
}

int16_t DragShiftState(DWORD key_state) noexcept {
  return static_cast<int16_t>(ShiftCtrlFromKeyFlags(key_state) |
                              ((key_state & MK_ALT) ? kAltMask : 0));
}

class ControlDropTarget : public ComObject<IDropTarget> {
 public:
  explicit ControlDropTarget(UserControl& control) noexcept : control_(control) {}

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point,
                                      DWORD* effect) override {
    if (!data || !effect) return E_INVALIDARG;
    return Guarded(effect, [&] {
      data_.emplace(ComPtr<IDataObject>(data));
      return Over(key_state, point, effect, 0);
    });
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    return Over(key_state, point, effect, 2);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    DWORD effect = DROPEFFECT_NONE;
    Over(0, last_point_, &effect, 1);
    data_.reset();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point,
                                 DWORD* effect) override {
    if (!data || !effect) return E_INVALIDARG;
    return Guarded(effect, [&] {
      data_.emplace(ComPtr<IDataObject>(data));
      const DWORD allowed = *effect;
      try {
        int32_t answer = static_cast<int32_t>(allowed);
        const POINT client = ToClient(point);
        control_.OLEDragDrop(*data_, answer, DragButtonState(key_state), DragShiftState(key_state),
                             static_cast<float>(client.x), static_cast<float>(client.y));
        *effect = static_cast<DWORD>(answer) & allowed;
      } catch (...) {
        *effect = DROPEFFECT_NONE;  // the control refused the drop: no effect, not an OLE error
      }
      data_.reset();
      return S_OK;
    });
  }

 private:
  virtual ~ControlDropTarget() = default;

  // Runs the body of a method that takes the dragged data: whatever it throws (running out of
  // memory while taking the data, for one) ends the drag over this target with no effect and an
  // error HRESULT instead of leaving the COM method.
  template <typename Body>
  HRESULT Guarded(DWORD* effect, Body&& body) noexcept {
    HRESULT failure = E_UNEXPECTED;
    try {
      return body();
    } catch (const std::bad_alloc&) {
      failure = E_OUTOFMEMORY;
    } catch (...) {
    }
    *effect = DROPEFFECT_NONE;
    data_.reset();
    return failure;
  }

  POINT ToClient(POINTL point) const noexcept {
    POINT client{point.x, point.y};
    ScreenToClient(control_.hWnd(), &client);
    return client;
  }

  HRESULT Over(DWORD key_state, POINTL point, DWORD* effect, int16_t state) {
    last_point_ = point;
    const DWORD allowed = *effect;
    if (!data_) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    try {
      int32_t answer = static_cast<int32_t>(allowed);
      const POINT client = ToClient(point);
      control_.OLEDragOver(*data_, answer, DragButtonState(key_state), DragShiftState(key_state),
                           static_cast<float>(client.x), static_cast<float>(client.y), state);
      *effect = static_cast<DWORD>(answer) & allowed;
    } catch (...) {
      *effect = DROPEFFECT_NONE;
    }
    return S_OK;
  }

  UserControl& control_;            // the target stays registered only while the control lives
  std::optional<DataObject> data_;  // the dragged data, between enter and leave or drop
  POINTL last_point_{};
};

class ControlDropSource : public ComObject<IDropSource> {
 public:
  explicit ControlDropSource(UserControl& control) noexcept : control_(control) {}

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD key_state) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(key_state & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    bool default_cursors = true;
    try {
      control_.OLEGiveFeedback(static_cast<int32_t>(effect), default_cursors);
    } catch (...) {
      default_cursors = true;
    }
    return default_cursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
  }

  // Lets the drag source reach the control's protected notifications.
  static void Run(UserControl& control) {
    DataObject data;
    data.SetRenderHandler(
        [&](int32_t format) { control.OLESetData(data, static_cast<int16_t>(format)); });
    int32_t allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    control.OLEStartDrag(data, allowed);
    if (allowed == 0) return;
    auto source = ComPtr<IDropSource>::Attach(new ControlDropSource(control));
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result =
        DoDragDrop(data.Get(), source.Get(), static_cast<DWORD>(allowed), &effect);
    if (result != DRAGDROP_S_DROP) effect = DROPEFFECT_NONE;
    data.SetRenderHandler(nullptr);
    control.OLECompleteDrag(static_cast<int32_t>(effect));
  }

 private:
  virtual ~ControlDropSource() = default;

  UserControl& control_;
};

ComPtr<IDropTarget> CreateControlDropTarget(UserControl& control) {
  return ComPtr<IDropTarget>::Attach(new ControlDropTarget(control));
}

bool RegisterControlDropTarget(UserControl& control) noexcept {
  if (!control.hWnd()) return false;
  try {
    return SUCCEEDED(RegisterDragDrop(control.hWnd(), CreateControlDropTarget(control).Get()));
  } catch (...) {
    return false;  // no memory for the target
  }
}

void StartOleDrag(UserControl& control) {
  ControlDropSource::Run(control);
}

}  // namespace veltrin::controls
