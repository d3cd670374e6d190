// Compile-time options of a regular expression.
#pragma once

namespace veltrin::regex {

struct RegexOptions {
  bool multi_line = false;   // ^ and $ also match around every LF
  bool ignore_case = false;  // letters match their simple case-folding variants
};

}  // namespace veltrin::regex
