// The check states of a check-box or option list, kept beside the native list so that they follow
// insertions and removals and survive a re-creation of the window.
#pragma once

#include <cstdint>
#include <vector>

namespace veltrin::controls {

// Style 1 keeps one flag per item; style 2 keeps only the index of the one checked item (the
// option). Other styles keep nothing.
class CheckStateStore {
 public:
  void SetStyle(int32_t style) noexcept { style_ = style; }
  int32_t Count() const noexcept { return count_; }
  int32_t Option() const noexcept { return option_; }
  void SetOption(int32_t index) noexcept { option_ = index; }

  // An item was inserted at `index` (unchecked); the later items move down.
  void Inserted(int32_t index);
  // The item at `index` was removed; the later items move up.
  void Removed(int32_t index);
  // All items were removed.
  void Cleared() noexcept;

  // Within the store: index 0 .. Count() - 1.
  bool Contains(int32_t index) const noexcept { return index >= 0 && index < count_; }
  bool Checked(int32_t index) const noexcept;
  // Style 1 only: stores the flag of an item within the store.
  void SetChecked(int32_t index, bool checked) noexcept;
  // The checked items in ascending order.
  std::vector<int32_t> CheckedIndices() const;

 private:
  int32_t style_ = 0;
  int32_t count_ = 0;
  std::vector<uint8_t> checked_;  // style 1: one flag per item
  int32_t option_ = -1;           // style 2: the checked item, -1 when none
};

}  // namespace veltrin::controls
