// A request to stop blocking work, made from any thread: a download waiting for bytes that do not
// come, or a read of standard input.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace veltrin {

// Starts out not cancelled; Cancel() flips it once and for good. Work that blocks registers an
// action that unblocks it (closing a handle, waking a wait) for as long as it blocks. Every member
// is safe to call from any thread.
class Cancellation {
 public:
  Cancellation() = default;
  Cancellation(const Cancellation&) = delete;
  Cancellation& operator=(const Cancellation&) = delete;

  // Marks the work cancelled and runs every registered action once, on this thread. Later calls do
  // nothing.
  void Cancel();
  bool Cancelled() const;

  // Runs `action` when Cancel() is called while the registration lives, or at once (on this thread)
  // when it was called before. Destroying the registration waits for an action that is running.
  class Registration {
   public:
    Registration(Cancellation& cancellation, std::function<void()> action);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    Cancellation& cancellation_;  // what the action is registered with
    std::uint64_t id_ = 0;        // its key there; 0 when it ran at once
  };

 private:
  mutable std::recursive_mutex mutex_;                      // guards everything below
  bool cancelled_ = false;                                  // whether Cancel() was called
  std::uint64_t next_id_ = 1;                               // the key of the next registration
  std::map<std::uint64_t, std::function<void()>> actions_;  // what Cancel() runs
};

}  // namespace veltrin
