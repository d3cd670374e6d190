// Plain test windows and a message pump for the base-library tests: a window class whose procedure
// answers a probe message with a known value and counts how often it got there.
#pragma once

#include <windows.h>

#include <map>

namespace veltrin::controls::testing {

// The probe message: the test window's own procedure answers it with kProbeResult.
inline constexpr UINT kProbeMessage = WM_APP + 1;
inline constexpr LRESULT kProbeResult = 7;

// Owns one top-level window (or child of `parent`) of the probe class; destroyed with the object
// unless the test destroyed it first.
class TestWindow {
 public:
  explicit TestWindow(HWND parent = nullptr, DWORD style = 0, DWORD ex_style = 0);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const noexcept { return window_; }
  // How often the window's own procedure saw each message.
  int BaseCount(UINT message) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

  HWND window_ = nullptr;
  std::map<UINT, int> base_counts_;  // message -> calls that reached the class procedure
};

// Dispatches every message waiting for this thread.
void PumpMessages();

// Removes every message waiting for `window` (or the thread when null) without dispatching.
void DiscardMessages(HWND window = nullptr);

}  // namespace veltrin::controls::testing
