// The error a regular expression raises when its pattern cannot be compiled.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace veltrin {

// A pattern that cannot be compiled; the message names the 0-based code unit offset at fault.
class RegexError : public std::runtime_error {
 public:
  // Builds "regex error at position N: REASON".
  RegexError(const std::string& reason, size_t position);

  size_t Position() const noexcept { return position_; }

 private:
  size_t position_;  // code unit offset in the pattern where the fault was found
};

}  // namespace veltrin
