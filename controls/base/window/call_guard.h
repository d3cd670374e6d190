// Keeps an object alive while calls run on it: an owner that deletes the object from inside one of
// its own calls (an event handler that removes its control) only marks it, and the object goes
// when the outermost call returns.
#pragma once

#include <memory>

namespace veltrin::controls {

class CallGuarded {
 public:
  CallGuarded(const CallGuarded&) = delete;
  CallGuarded& operator=(const CallGuarded&) = delete;

  // Counts one more call running on the object.
  void EnterCall() noexcept { ++calls_; }
  // Counts one call less; deletes the object when it was orphaned and this was the last call.
  // The caller must not touch the object after it.
  void LeaveCall() noexcept {
    if (--calls_ == 0 && orphaned_) delete this;
  }
  // Says whether a call is running on the object.
  bool InCall() const noexcept { return calls_ > 0; }

  // Deletes `object` now, or, while a call runs on it, when the last call returns.
  template <typename T>
  static void Delete(std::unique_ptr<T> object) noexcept {
    if (!object) return;
    CallGuarded& guarded = *object;
    if (guarded.calls_ == 0) return;  // the unique_ptr deletes it on return
    guarded.orphaned_ = true;
    object.release();
  }

 protected:
  CallGuarded() = default;
  virtual ~CallGuarded() = default;

 private:
  int calls_ = 0;          // calls running on the object (nested calls count each)
  bool orphaned_ = false;  // the owner let go while a call ran; the last call deletes
};

// One call on a guarded object, from construction to destruction.
class CallScope {
 public:
  explicit CallScope(CallGuarded& object) noexcept : object_(object) { object_.EnterCall(); }
  ~CallScope() { object_.LeaveCall(); }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  CallGuarded& object_;
};

}  // namespace veltrin::controls
