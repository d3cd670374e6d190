// Regular expressions on UTF-16 code units: Perl-style syntax, leftmost-first matches, and search
// time linear in the text (a Pike VM, plus a direct scanner for LITERAL.*?TERMINATOR patterns).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/regex/pike_vm.h"
#include "core/regex/regex_error.h"
#include "core/regex/regex_options.h"

namespace veltrin::regex {

struct Program;
class DelimitedScan;

// Reusable search state; pass the same one to many searches to avoid allocating per search. Not
// shared between threads.
class ScratchSpace {
 public:
  PikeVmScratch& Vm() noexcept { return vm_; }

 private:
  PikeVmScratch vm_;  // the Pike VM's thread lists and closure stack
};

// The positions of one match and of its capturing groups.
class Match {
 public:
  static constexpr size_t kNoPosition = regex::kNoPosition;

  size_t Start() const noexcept { return slots_[0]; }
  size_t End() const noexcept { return slots_[1]; }
  // Returns the number of groups recorded, not counting the whole match (group 0).
  size_t GroupCount() const noexcept { return slots_.size() / 2 - 1; }
  // Returns whether the group took part in the match; false for a group that does not exist.
  bool Matched(size_t group) const noexcept {
    return group <= GroupCount() && slots_[2 * group] != kNoPosition;
  }
  size_t GroupStart(size_t group) const noexcept {
    return Matched(group) ? slots_[2 * group] : kNoPosition;
  }
  size_t GroupEnd(size_t group) const noexcept {
    return Matched(group) ? slots_[2 * group + 1] : kNoPosition;
  }
  // Returns the text of the group, empty when it did not take part or does not exist.
  std::u16string_view Group(std::u16string_view text, size_t group) const noexcept {
    return Matched(group)
               ? text.substr(slots_[2 * group], slots_[2 * group + 1] - slots_[2 * group])
               : std::u16string_view();
  }

  std::vector<size_t>& Slots() noexcept { return slots_; }

 private:
  std::vector<size_t> slots_ = {kNoPosition, kNoPosition};  // start/end pairs, group 0 first
};

// Which matcher a search uses; kBest picks the fastest one that applies, kPikeVm forces the
// general one (tests compare the two).
enum class Engine { kBest, kPikeVm };

class Regex {
 public:
  // Compiles the pattern; throws veltrin::RegexError naming the offending offset.
  explicit Regex(std::u16string_view pattern, RegexOptions options = {});
  Regex(Regex&&) noexcept;
  Regex& operator=(Regex&&) noexcept;
  ~Regex();

  // Returns the number of capturing groups in the pattern.
  size_t GroupCount() const noexcept;

  // Finds the leftmost-first match that starts at or after `start` (0 <= start, with the text
  // before `start` still seen by ^ and \b); fills `match` with every group and returns true, or
  // returns false (also when start > text.size()).
  bool Search(std::u16string_view text, size_t start, Match& match, ScratchSpace& scratch,
              Engine engine = Engine::kBest) const;

  // Returns whether the pattern matches anywhere in the text.
  bool Find(std::u16string_view text) const;
  bool Matches(std::u16string_view text) const { return Find(text); }

  // Replaces every non-overlapping match, scanning left to right; after an empty match the next
  // search starts one unit later. In the replacement, $& is the match, $1..$9 a group (empty
  // when it did not take part or does not exist), $$ a dollar; any other $ is literal.
  std::u16string ReplaceAll(std::u16string_view input, std::u16string_view replacement) const;
  std::u16string ReplaceAll(std::u16string_view input, std::u16string_view replacement,
                            Engine engine) const;

 private:
  // Searches recording only the first `slot_count` slots of `match`.
  bool SearchSlots(std::u16string_view text, size_t start, size_t slot_count, Match& match,
                   ScratchSpace& scratch, Engine engine) const;

  std::unique_ptr<const Program> program_;     // the compiled pattern for the Pike VM
  std::unique_ptr<const DelimitedScan> scan_;  // the direct scanner, when the pattern fits it
};

}  // namespace veltrin::regex
