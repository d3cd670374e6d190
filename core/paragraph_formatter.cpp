// Rewriting of one line into the formatted output: trims, drops and joins as the formatter's
// steps say, and ends a paragraph after a sentence-final mark.
#include "core/paragraph_formatter.h"

#include <algorithm>

namespace veltrin {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::u16string_view kIndent = u"\u3000\u3000";

bool IsSentenceFinal(char16_t unit) {
  return unit == u'\u3002' || unit == u'\uFF1F' || unit == u'\uFF01' || unit == u'\u2026' ||
         unit == u'\u2014';
}

void RemoveUnit(std::u16string& text, char16_t unit) {
  text.erase(std::remove(text.begin(), text.end(), unit), text.end());
}

}  // namespace

void ParagraphFormatter::AddLine(std::u16string_view piece, std::u16string& output) {
  const std::size_t start = output.size();
  line_.assign(piece);
  RemoveUnit(line_, u'\r');
  line_.erase(line_.find_last_not_of(u' ') + 1);  // npos + 1 == 0 clears an all-space line

  if (line_.empty()) {
    output += kCrLf;
  } else {
    const std::size_t lead = line_.find_first_not_of(u" \t");
    line_.erase(0, lead == std::u16string::npos ? line_.size() : lead);
    if (!line_.empty() && line_ != u"?") {
      RemoveUnit(line_, u' ');
      output += line_;
      if (IsSentenceFinal(line_.back())) {
        output += kCrLf;
        output += kIndent;
      }
    }
  }
  if (first_line_) {
    // Only the first line, as rewritten above, decides the opening indent.
    first_line_ = false;
    if (line_.size() > 2 && !line_.starts_with(kIndent)) output.insert(start, kIndent);
  }
}

}  // namespace veltrin
