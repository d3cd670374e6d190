// A specialised matcher for patterns of the shape  LITERAL .*? TERMINATOR  (for example "<p.*?>",
// "</.*?>" and ".*?>"), which the extraction pipeline runs over whole pages.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/regex/syntax_tree.h"

namespace veltrin::regex {

class DelimitedScan {
 public:
  // Returns a scanner when the tree has exactly the shape above (no groups, a terminator other
  // than LF, a literal without LF), or nothing.
  static std::optional<DelimitedScan> FromTree(const SyntaxTree& tree);

  // Finds the leftmost match starting at or after `start`; sets [begin, end) and returns true, or
  // returns false. Each unit of the text is examined a bounded number of times.
  bool Search(std::u16string_view text, size_t start, size_t& begin, size_t& end) const noexcept;

 private:
  std::u16string literal_;   // units every match starts with (may be empty)
  char16_t terminator_ = 0;  // the unit that ends every match
};

}  // namespace veltrin::regex
