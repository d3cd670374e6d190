// One Extract read on a worker thread: the page is downloaded or read, decoded and extracted
// there, and the window hears of progress and of the end by posted messages, so that it keeps its
// message loop (it repaints, moves and can cancel) while a page arrives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "core/extract_command.h"

namespace veltrin::window {

// The messages a job posts to its window; wParam is the job's number.
inline constexpr UINT kJobProgressMessage = WM_APP + 1;  // new progress: read Progress()
inline constexpr UINT kJobDoneMessage = WM_APP + 2;      // the job ended: read TakeOutcome()

class PageJob {
 public:
  // How much of the page has arrived; total is 0 while unknown.
  struct Progress {
    std::uint64_t received = 0;
    std::uint64_t total = 0;
  };

  // Starts the worker thread on the request at once; `number` comes back in each message.
  PageJob(HWND window, WPARAM number, PageRequest request);
  // Cancels the job without waiting for it: a transfer blocked on the network ends on its own
  // later, and nothing of it reaches the window any more.
  ~PageJob();
  PageJob(const PageJob&) = delete;
  PageJob& operator=(const PageJob&) = delete;

  WPARAM Number() const noexcept { return number_; }
  // The latest progress; allows the next progress message.
  Progress TakeProgress() noexcept;
  // The outcome, once the done message came (kUnchanged before).
  ExtractOutcome TakeOutcome();

 private:
  struct State;
  WPARAM number_;                 // tells this job's messages from an earlier job's
  std::shared_ptr<State> state_;  // shared with the worker, which may outlive the job
};

}  // namespace veltrin::window
