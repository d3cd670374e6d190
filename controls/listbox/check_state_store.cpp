// Check flags and the option index following the items of the list.
#include "controls/listbox/check_state_store.h"

namespace veltrin::controls {

void CheckStateStore::Inserted(int32_t index) {
  if (style_ == 1) {
    ++count_;
    const int32_t at = index < 0 || index > static_cast<int32_t>(checked_.size())
                           ? static_cast<int32_t>(checked_.size())
                           : index;
    checked_.insert(checked_.begin() + at, uint8_t{0});
  } else if (style_ == 2) {
    ++count_;
    if (option_ >= index) ++option_;
  }
}

void CheckStateStore::Removed(int32_t index) {
  if (style_ == 1) {
    if (count_ > 0) --count_;
    if (index >= 0 && index < static_cast<int32_t>(checked_.size())) {
      checked_.erase(checked_.begin() + index);
    }
    checked_.resize(static_cast<size_t>(count_));
  } else if (style_ == 2) {
    if (count_ > 0) --count_;
    if (option_ < 0) return;
    if (count_ == 0 || option_ == index || option_ > count_) {
      option_ = -1;
    } else if (index < option_) {
      --option_;
    }
  }
}

void CheckStateStore::Cleared() noexcept {
  count_ = 0;
  checked_.clear();
  option_ = -1;
}

bool CheckStateStore::Checked(int32_t index) const noexcept {
  if (!Contains(index)) return false;
  if (style_ == 1) return checked_[static_cast<size_t>(index)] == 1;
  if (style_ == 2) return index == option_;
  return false;
}

void CheckStateStore::SetChecked(int32_t index, bool checked) noexcept {
  if (style_ == 1 && Contains(index)) checked_[static_cast<size_t>(index)] = checked ? 1 : 0;
}

std::vector<int32_t> CheckStateStore::CheckedIndices() const {
  std::vector<int32_t> indices;
  if (style_ == 1) {
    for (int32_t i = 0; i < count_; ++i) {
      if (checked_[static_cast<size_t>(i)] == 1) indices.push_back(i);
    }
  } else if (style_ == 2 && option_ >= 0) {
    indices.push_back(option_);
  }
  return indices;
}

}  // namespace veltrin::controls
