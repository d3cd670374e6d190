// Renderings shared by the regex table tests and the differential test.
#include "tests/core/support/regex_scan.h"

#include <cstdio>

namespace veltrin::test {

std::string Show(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

std::string SpanText(size_t start, size_t end) {
  if (start == regex::Match::kNoPosition) return "-";
  return std::to_string(start) + "-" + std::to_string(end);
}

std::string Scan(const regex::Regex& re, std::u16string_view text, regex::Engine engine) {
  regex::ScratchSpace scratch;
  regex::Match match;
  std::string out;
  size_t at = 0;
  while (at <= text.size() && re.Search(text, at, match, scratch, engine)) {
    if (!out.empty()) out += ' ';
    out += SpanText(match.Start(), match.End());
    if (re.GroupCount() > 0) {
      out += '(';
      for (size_t g = 1; g <= re.GroupCount(); ++g) {
        if (g > 1) out += ',';
        out += SpanText(match.GroupStart(g), match.GroupEnd(g));
      }
      out += ')';
    }
    at = match.End() == match.Start() ? match.End() + 1 : match.End();
  }
  return out;
}

}  // namespace veltrin::test
