// The Pike VM after Thompson (1968) and Pike, as described by Cox ("Regular Expression Matching:
// the Virtual Machine Approach") and built in RE2's nfa.cc. Threads are kept in priority order and
// a thread reaching kMatch cuts every lower-priority thread, which yields the leftmost-first match
// a backtracking engine would find, in time linear in the text. Covered by regex_test.cpp and the
// PCRE2 differential test regex_pcre2_posix_test.cpp.
#include "core/regex/pike_vm.h"

#include <algorithm>

namespace veltrin::regex {

void ThreadList::Resize(size_t inst_count, size_t slot_count) {
  dense_.resize(inst_count);
  sparse_.resize(inst_count);
  slots_.resize(inst_count * slot_count);
  slot_count_ = slot_count;
  size_ = 0;
}

void PikeVmScratch::Prepare(const Program& program, size_t slot_count) {
  // Shapes are compared rather than program addresses, which a later program may reuse.
  if (inst_count_ == program.insts.size() && slot_count_ == slot_count) {
    current_.Clear();
    next_.Clear();
    return;
  }
  const size_t insts = program.insts.size();
  current_.Resize(insts, slot_count);
  next_.Resize(insts, slot_count);
  // Each instruction pushes at most one frame per closure, so the stack never grows.
  stack_.clear();
  stack_.reserve(insts + 1);
  working_.assign(slot_count, kNoPosition);
  inst_count_ = insts;
  slot_count_ = slot_count;
}

void PikeVm::AddThread(const Program& program, std::u16string_view text, PikeVmScratch& scratch,
                       ThreadList& list, uint32_t start_pc, size_t at) {
  auto& stack = scratch.stack_;
  size_t* working = scratch.working_.data();
  const size_t slot_count = scratch.slot_count_;
  stack.push_back({start_pc, false, 0});
  while (!stack.empty()) {
    const PikeVmScratch::Frame frame = stack.back();
    stack.pop_back();
    if (frame.restore) {
      working[frame.pc] = frame.value;
      continue;
    }
    uint32_t pc = frame.pc;
    while (list.Insert(pc)) {
      const Inst& inst = program.insts[pc];
      bool follow = true;
      switch (inst.op) {
        case Op::kSplit:
          stack.push_back({inst.arg, false, 0});
          pc = inst.next;
          break;
        case Op::kJump:
          pc = inst.next;
          break;
        case Op::kSave:
          if (inst.arg < slot_count) {
            stack.push_back({inst.arg, true, working[inst.arg]});
            working[inst.arg] = at;
          }
          pc = inst.next;
          break;
        case Op::kAssert:
          follow = AssertionHolds(inst.assertion, text, at);
          pc = inst.next;
          break;
        default:  // a unit-consuming instruction or kMatch: the thread waits here
          std::copy(working, working + slot_count, list.Slots(pc));
          follow = false;
          break;
      }
      if (!follow) break;
    }
  }
}

bool PikeVm::Search(const Program& program, std::u16string_view text, size_t start,
                    size_t slot_count, PikeVmScratch& scratch, std::vector<size_t>& slots) {
  if (start > text.size()) return false;
  scratch.Prepare(program, slot_count);
  ThreadList* current = &scratch.current_;
  ThreadList* next = &scratch.next_;
  const bool skip = program.prefilter.Active();
  bool matched = false;
  for (size_t at = start;; ++at) {
    if (current->Empty()) {
      if (matched) break;
      if (skip) {
        at = program.prefilter.Next(text, at);
        if (at == std::u16string_view::npos) break;
      }
    }
    if (!matched) {
      std::fill(scratch.working_.begin(), scratch.working_.end(), kNoPosition);
      AddThread(program, text, scratch, *current, 0, at);
    }
    const char16_t unit = at < text.size() ? text[at] : 0;
    const bool has_unit = at < text.size();
    for (size_t i = 0; i < current->Size(); ++i) {
      const uint32_t pc = current->At(i);
      const Inst& inst = program.insts[pc];
      bool advance = false;
      switch (inst.op) {
        case Op::kUnit:
          advance = has_unit && unit == inst.unit;
          break;
        case Op::kClass:
          advance = has_unit && program.classes[inst.arg].Contains(unit);
          break;
        case Op::kAnyButLf:
          advance = has_unit && unit != u'\n';
          break;
        case Op::kMatch: {
          const size_t* found = current->Slots(pc);
          slots.assign(found, found + slot_count);
          matched = true;
          i = current->Size();  // lower-priority threads lose to this match
          break;
        }
        default:
          break;
      }
      if (advance) {
        const size_t* from = current->Slots(pc);
        std::copy(from, from + slot_count, scratch.working_.begin());
        AddThread(program, text, scratch, *next, inst.next, at + 1);
      }
    }
    std::swap(current, next);
    next->Clear();
    if (at >= text.size()) break;
  }
  // Leave the lists empty for the next search through this scratch.
  current->Clear();
  next->Clear();
  return matched;
}

}  // namespace veltrin::regex
