// Real mouse input for the control tests (SendInput), for what messages cannot fake: drag
// detection and OLE drag loops read the input state itself.
#pragma once

#include <windows.h>

namespace veltrin::test {

// Queues a button change, or a move by (dx, dy) pixels.
inline void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

}  // namespace veltrin::test
