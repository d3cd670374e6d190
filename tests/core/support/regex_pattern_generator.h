// Small regular expressions drawn over a tiny alphabet (with LF and a lone surrogate), for the
// differential tests and the fuzzer that compare the engine with PCRE2.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace veltrin::test {

// Units that patterns and texts are made of.
inline constexpr char16_t kPatternAlphabet[] = {u'a', u'b', u'A', u'\n', u'_', char16_t(0xD800)};

// Draws patterns. Quantifiers never apply to something that can match empty: there the
// backtracking dialects disagree among themselves about empty iterations.
class PatternGenerator {
 public:
  // `pick(n)` returns a choice from 0 to n - 1: a seeded generator or the fuzzer's bytes.
  explicit PatternGenerator(std::function<int(int)> pick) : pick_(std::move(pick)) {}

  std::u16string Next();

 private:
  struct Fragment {
    std::u16string text;     // pattern source
    bool nullable = false;   // can match the empty string
    bool repeatable = true;  // may take a quantifier
  };

  int Pick(int n) { return pick_(n); }
  Fragment Atom();
  Fragment Item(int depth);
  Fragment Concat(int depth);
  Fragment Alternation(int depth);

  std::function<int(int)> pick_;  // the source of every choice
  int groups_ = 0;                // capturing groups in the pattern so far
};

}  // namespace veltrin::test
