// The Pike VM: simulates every thread of the program in lock-step over the text, one code unit at
// a time, so a search costs O(text length x program size) and never backtracks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/regex/program.h"

namespace veltrin::regex {

constexpr size_t kNoPosition = SIZE_MAX;

// Threads alive at one text position, in priority order, each with its capture slots.
class ThreadList {
 public:
  void Resize(size_t inst_count, size_t slot_count);
  void Clear() noexcept { size_ = 0; }
  bool Empty() const noexcept { return size_ == 0; }
  size_t Size() const noexcept { return size_; }
  uint32_t At(size_t i) const noexcept { return dense_[i]; }
  // Adds pc unless present; returns false when it was already there.
  bool Insert(uint32_t pc) noexcept {
    const uint32_t index = sparse_[pc];
    if (index < size_ && dense_[index] == pc) return false;
    sparse_[pc] = static_cast<uint32_t>(size_);
    dense_[size_++] = pc;
    return true;
  }
  size_t* Slots(uint32_t pc) noexcept { return slots_.data() + size_t(pc) * slot_count_; }

 private:
  std::vector<uint32_t> dense_;   // the threads' pcs in priority order
  std::vector<uint32_t> sparse_;  // pc -> index into dense_ (valid only when they agree)
  std::vector<size_t> slots_;     // slot_count_ capture slots per pc
  size_t size_ = 0;               // live entries of dense_
  size_t slot_count_ = 0;         // slots kept per thread
};

// Reusable per-search state; one per thread of the caller, shared by any number of searches.
class PikeVmScratch {
 public:
  // Sizes the buffers for a program (allocating only when they must grow or shrink in shape).
  void Prepare(const Program& program, size_t slot_count);

 private:
  friend class PikeVm;
  struct Frame {
    uint32_t pc;   // instruction to explore, or slot to restore when restore is set
    bool restore;  // true: put `value` back into working slot `pc`
    size_t value;  // the slot value to restore
  };
  ThreadList current_;           // threads at the position being stepped
  ThreadList next_;              // threads for the following position
  std::vector<Frame> stack_;     // explicit stack of the empty-transition closure
  std::vector<size_t> working_;  // slots of the thread being followed through the closure
  size_t inst_count_ = 0;        // program size the buffers are shaped for
  size_t slot_count_ = 0;        // slots tracked per thread
};

class PikeVm {
 public:
  // Finds the leftmost-first match starting at or after `start`; on success fills `slots` (the
  // first `slot_count` capture positions, kNoPosition when a group did not take part) and returns
  // true. `slot_count` is even, at least 2, at most program.slot_count.
  static bool Search(const Program& program, std::u16string_view text, size_t start,
                     size_t slot_count, PikeVmScratch& scratch, std::vector<size_t>& slots);

 private:
  static void AddThread(const Program& program, std::u16string_view text, PikeVmScratch& scratch,
                        ThreadList& list, uint32_t pc, size_t at);
};

}  // namespace veltrin::regex
