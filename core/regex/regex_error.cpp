// The error a regular expression raises when its pattern cannot be compiled.
#include "core/regex/regex_error.h"

namespace veltrin {

RegexError::RegexError(const std::string& reason, size_t position)
    : std::runtime_error("regex error at position " + std::to_string(position) + ": " + reason),
      position_(position) {}

}  // namespace veltrin
