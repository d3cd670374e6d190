// The compiled, immutable form of a pattern: a list of instructions for the Pike VM plus the
// facts that let a search skip text that cannot start a match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/regex/char_class.h"
#include "core/regex/syntax_tree.h"

namespace veltrin::regex {

enum class Op : uint8_t {
  kUnit,      // consume `unit`
  kClass,     // consume a unit of classes[arg]
  kAnyButLf,  // consume any unit except LF
  kSplit,     // continue at `next` first, then at `arg` (lower priority)
  kJump,      // continue at `next`
  kSave,      // record the position in capture slot `arg`
  kAssert,    // continue only if `assertion` holds here
  kMatch,     // a match ends here
};

struct Inst {
  Op op = Op::kMatch;     // what the instruction does
  Assertion assertion{};  // kAssert: the condition
  char16_t unit = 0;      // kUnit: the unit consumed
  uint32_t next = 0;      // the following instruction (preferred branch of a kSplit)
  uint32_t arg = 0;       // kSplit: other branch; kSave: slot; kClass: class index
};

// Finds where a match can begin, so that the matcher can skip the text in between.
class Prefilter {
 public:
  // Returns the first offset >= from where a match may start, or npos when none can.
  size_t Next(std::u16string_view text, size_t from) const noexcept;
  // Returns whether the prefilter can skip anything at all.
  bool Active() const noexcept { return !prefix_.empty() || !first_units_.empty(); }

  void SetPrefix(std::u16string prefix) { prefix_ = std::move(prefix); }
  void SetFirstUnits(const CharClass& set);

 private:
  std::u16string prefix_;              // literal text every match starts with, if any
  std::vector<uint64_t> first_units_;  // otherwise a bitmap of the units a match can start with
};

struct Program {
  std::vector<Inst> insts;         // instruction 0 is the start
  std::vector<CharClass> classes;  // sets used by kClass instructions
  uint32_t group_count = 0;        // capturing groups, not counting the whole match
  uint32_t slot_count = 0;         // 2 * (group_count + 1)
  Prefilter prefilter;             // skips text where no match can start
};

// Returns whether the assertion holds between text[at - 1] and text[at].
bool AssertionHolds(Assertion assertion, std::u16string_view text, size_t at) noexcept;

}  // namespace veltrin::regex
