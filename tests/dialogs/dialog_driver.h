// Drives a modal dialog of the test thread from a helper thread: waits for the dialog window to
// appear, then runs an action on it (fill fields, press buttons) as a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace veltrin::dialogs::testing {

// The find and replace dialog's fields and buttons.
constexpr int kFindWhatEdit = 0x480;
constexpr int kReplaceWithEdit = 0x481;
constexpr int kReplaceButton = 0x400;
constexpr int kReplaceAllButton = 0x401;

// Returns the first visible dialog (class "#32770") of `thread`, or null.
HWND FindThreadDialog(DWORD thread);

// Sets the text of the first child with one of the ids that exists; returns whether one did.
bool SetChildText(HWND dialog, std::initializer_list<int> ids, const std::wstring& text);

// Presses a button of the dialog by its command id.
void PressButton(HWND dialog, int id);

class DialogDriver {
 public:
  // Starts waiting for a dialog of the calling thread; `action` runs on it once, on the helper
  // thread. Gives up after a few seconds (the dialog then stays open and the test hangs visibly).
  explicit DialogDriver(std::function<void(HWND)> action);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Says whether a dialog was found and the action ran.
  bool Ran() const noexcept { return ran_; }

 private:
  std::atomic<bool> ran_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A visible top-level window, made the active one so that dialogs take it as their owner.
class ActiveOwnerWindow {
 public:
  ActiveOwnerWindow();
  ~ActiveOwnerWindow();
  ActiveOwnerWindow(const ActiveOwnerWindow&) = delete;
  ActiveOwnerWindow& operator=(const ActiveOwnerWindow&) = delete;

  HWND Get() const noexcept { return window_; }

 private:
  HWND window_;  // destroyed with this
};

// Presses Cancel on the next dialog.
std::function<void(HWND)> PressCancel();

// Presses Cancel on the first dialog that the calling thread shows while this lives, from a thread
// timer that the dialog's own message loop runs: quicker than a DialogDriver, for long loops.
class CancelWhenShown {
 public:
  CancelWhenShown();
  ~CancelWhenShown();
  CancelWhenShown(const CancelWhenShown&) = delete;
  CancelWhenShown& operator=(const CancelWhenShown&) = delete;

  // Says whether a dialog was found and cancelled.
  bool Ran() const noexcept;

 private:
  UINT_PTR timer_;  // the thread timer, killed on destruction
};

}  // namespace veltrin::dialogs::testing
