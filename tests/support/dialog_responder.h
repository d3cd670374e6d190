// Answers the modal dialogs and message boxes that a command opens on the test's thread: a thread
// timer, dispatched by the dialog's own modal loop, finds each new dialog and runs the next answer.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace veltrin::test {

// What the responder saw of one dialog.
struct SeenDialog {
  std::wstring caption;  // the window text
  std::wstring text;     // the texts of its static children, joined by "|"
};

class DialogResponder {
 public:
  using Answer = std::function<void(HWND dialog)>;

  // Starts watching; only one responder may exist at a time. Dialogs beyond the queued answers are
  // cancelled, so a test never hangs on an unexpected one.
  DialogResponder();
  ~DialogResponder();
  DialogResponder(const DialogResponder&) = delete;
  DialogResponder& operator=(const DialogResponder&) = delete;

  // Queues the answer for the next dialog.
  DialogResponder& Then(Answer answer);
  const std::vector<SeenDialog>& Seen() const noexcept { return seen_; }

  // Answers: type a file name into a file dialog and confirm; press a button by its identifier.
  static Answer TypeFileName(std::wstring path);
  static Answer Press(int button_id);

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
  void Poll();

  UINT_PTR timer_ = 0;
  HWND last_ = nullptr;  // the dialog answered last (skipped while it still exists)
  std::deque<Answer> answers_;
  std::vector<SeenDialog> seen_;
};

}  // namespace veltrin::test
