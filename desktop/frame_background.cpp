// The frame's background: the brush of its parent's class, or the dialog face colour.
#include "desktop/frame_background.h"

namespace veltrin::window {

FrameBackground::FrameBackground(HWND frame) : subclass_(frame, receiver_, 0) {}

controls::MessageResult FrameBackground::OnEraseBkgnd(HDC dc) {
  HWND frame = MessageWindow();
  auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(frame), GCLP_HBRBACKGROUND));
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  RECT client{};
  GetClientRect(frame, &client);
  FillRect(dc, &client, brush);  // the frame clips its siblings, so the controls on it stay
  return 1;
}

}  // namespace veltrin::window
