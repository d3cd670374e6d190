// Frames on a form: placing controls in a frame, handing what the frame's children send on to the
// form, and removing a frame with the controls placed in it.
#include "controls/base/host/form.h"

#include <algorithm>

#include "common/run_time_error.h"
#include "controls/base/subclass.h"

namespace veltrin::controls {

void Form::DestroyWithPlacedControls(Extender& item) noexcept {
  // The controls placed in a frame go first, each as a whole, before the frame's window takes
  // their windows with it.
  const HWND window = item.hWnd();
  const auto placed = [&] {
    return std::find_if(items_.begin(), items_.end(), [&](const auto& other) {
      return window && other->hWnd() && GetParent(other->hWnd()) == window;
    });
  };
  for (auto inside = placed(); inside != items_.end(); inside = placed()) {
    DestroyWithPlacedControls(**inside);
  }
  const auto found = std::find_if(items_.begin(), items_.end(),
                                  [&](const auto& other) { return other.get() == &item; });
  if (found != items_.end()) DestroyItem(found);
}

void Form::PlaceInFrame(Extender& control, Extender& frame) {
  const bool is_frame = Find(frame.Name()) == &frame && !frame.Control() &&
                        (GetWindowLongPtrW(frame.hWnd(), GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  if (!is_frame || &control == &frame || Find(control.Name()) != &control) {
    throw RunTimeError(kInvalidProcedureCall);
  }
  const HWND frame_window = frame.hWnd();
  // Children of the frame talk to it; the forwarder hands that on to the form.
  SubclassWindow(frame_window, &frame_receiver_, 0, L"VeltrinFrame");
  SetWindowLongPtrW(frame_window, GWL_EXSTYLE,
                    GetWindowLongPtrW(frame_window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  const RECT bounds = control.PixelBounds();  // taken as relative to the frame
  SetParent(control.hWnd(), frame_window);
  SetWindowPos(control.hWnd(), HWND_TOP, bounds.left, bounds.top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

MessageResult Form::FrameForwarder::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  if (IsCtlColorMessage(message)) return SendMessageW(form_.hWnd(), message, w_param, l_param);
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
      return SendMessageW(form_.hWnd(), message, w_param, l_param);
    default:
      return kNotHandled;
  }
}

}  // namespace veltrin::controls
