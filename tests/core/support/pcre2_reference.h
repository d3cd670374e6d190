// Global scans through PCRE2's 16-bit library, rendered like test::Scan, as the reference for
// the regex engine (native builds only).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/regex/regex_options.h"

namespace veltrin::test {

struct Pcre2Scan {
  std::string matches;  // as test::Scan renders them
  uint32_t groups = 0;  // capturing groups of the pattern
};

// Compiles the pattern with the options' meaning (LF newlines, "$" only at the end or before LF
// in multi-line mode, "^" never matching after a final LF) and scans the text globally with the
// same empty-match advance as Regex::ReplaceAll. Returns nullopt when PCRE2 refuses the pattern
// or gives up matching it (its backtracking limits).
std::optional<Pcre2Scan> ScanWithPcre2(std::u16string_view pattern, regex::RegexOptions options,
                                       std::u16string_view text);

}  // namespace veltrin::test
