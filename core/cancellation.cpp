// The cancellation request. Actions run under the lock, so that a registration that ends waits for
// its action instead of leaving it to touch what it unblocks after that is gone.
#include "core/cancellation.h"

#include <utility>

namespace veltrin {

void Cancellation::Cancel() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (cancelled_) return;
  cancelled_ = true;
  for (auto& [id, action] : actions_) action();
}

bool Cancellation::Cancelled() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return cancelled_;
}

Cancellation::Registration::Registration(Cancellation& cancellation, std::function<void()> action)
    : cancellation_(cancellation) {
  std::lock_guard<std::recursive_mutex> lock(cancellation_.mutex_);
  if (cancellation_.cancelled_) {
    action();
    return;
  }
  id_ = cancellation_.next_id_++;
  cancellation_.actions_.emplace(id_, std::move(action));
}

Cancellation::Registration::~Registration() {
  if (id_ == 0) return;
  std::lock_guard<std::recursive_mutex> lock(cancellation_.mutex_);
  cancellation_.actions_.erase(id_);
}

}  // namespace veltrin
