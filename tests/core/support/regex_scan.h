// Readable renderings for the regex tests: UTF-16 as escaped ASCII, and a global scan as a list of
// match and group spans, so that expected results fit in a table cell.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/regex/regex.h"

namespace veltrin::test {

// Renders UTF-16 as ASCII, every unit outside printable ASCII as \uXXXX.
std::string Show(std::u16string_view text);

// Renders a span as "start-end", or "-" when `start` is Match::kNoPosition (a group that did not
// take part).
std::string SpanText(size_t start, size_t end);

// Scans `text` globally with `engine` and renders the matches as "s-e(g1,g2) s-e ...", advancing
// past an empty match as Regex::ReplaceAll does. Empty when nothing matches.
std::string Scan(const regex::Regex& re, std::u16string_view text, regex::Engine engine);

}  // namespace veltrin::test
