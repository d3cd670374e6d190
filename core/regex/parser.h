// Parses a Perl-style pattern on UTF-16 code units into a syntax tree.
#pragma once

#include <string_view>

#include "core/regex/regex_options.h"
#include "core/regex/syntax_tree.h"

namespace veltrin::regex {

// Parses the pattern; throws veltrin::RegexError naming the offending offset when the pattern is
// malformed or uses syntax this engine does not support (back-references, lookaround).
SyntaxTree ParsePattern(std::u16string_view pattern, const RegexOptions& options);

}  // namespace veltrin::regex
