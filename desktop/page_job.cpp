// The worker thread of a page job and what it shares with the window.
#include "desktop/page_job.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "core/utf8.h"

namespace veltrin::window {

struct PageJob::State {
  // Posts a message to the window unless it stopped listening.
  void Post(UINT message, WPARAM number) {
    std::lock_guard lock(mutex);
    if (window) PostMessageW(window, message, number, 0);
  }

  std::mutex mutex;        // guards window and outcome
  HWND window = nullptr;   // null once the job was cancelled
  ExtractOutcome outcome;  // set by the worker before the done message
  std::shared_ptr<Cancellation> cancellation = std::make_shared<Cancellation>();  // stops it
  std::atomic<std::uint64_t> received{0};    // progress, bytes so far
  std::atomic<std::uint64_t> total{0};       // progress, bytes announced (0 unknown)
  std::atomic<bool> progress_posted{false};  // one progress message in the queue at most
  HttpPageFetcher fetcher;                   // stateless; owned here so the worker needs no one
  SystemFileSearch files;                    // (only its ReadFile runs on the worker)
};

PageJob::PageJob(HWND window, WPARAM number, PageRequest request)
    : number_(number), state_(std::make_shared<State>()) {
  state_->window = window;
  std::thread([state = state_, number, request = std::move(request)] {
    const auto progress = [&](std::uint64_t received, std::uint64_t total) {
      state->received = received;
      state->total = total;
      if (!state->progress_posted.exchange(true)) state->Post(kJobProgressMessage, number);
    };
    ExtractOutcome outcome;
    try {
      outcome =
          ReadAndExtract(request, state->fetcher, state->files, progress, state->cancellation);
    } catch (const std::exception& error) {
      outcome = {ExtractOutcome::Kind::kFailed, u"提取失败：" + Utf8BytesToText(error.what())};
    }
    {
      std::lock_guard lock(state->mutex);
      state->outcome = std::move(outcome);
    }
    state->Post(kJobDoneMessage, number);
  }).detach();
}

PageJob::~PageJob() {
  {
    std::lock_guard lock(state_->mutex);
    state_->window = nullptr;
  }
  // Unblocks a transfer waiting for bytes (closing its request); the worker then ends by itself.
  state_->cancellation->Cancel();
}

PageJob::Progress PageJob::TakeProgress() noexcept {
  state_->progress_posted = false;
  return {state_->received.load(), state_->total.load()};
}

ExtractOutcome PageJob::TakeOutcome() {
  std::lock_guard lock(state_->mutex);
  return std::move(state_->outcome);
}

}  // namespace veltrin::window
