// The step-by-step pipeline.
#include "tests/core/support/pipeline_reference.h"

#include <vector>

#include "core/text_ops.h"

namespace veltrin::test {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

std::u16string Replaced(std::u16string text, std::u16string_view from, std::u16string_view to) {
  ReplaceAll(text, from, to);
  return text;
}

}  // namespace

std::u16string ReferenceFormat(std::u16string_view input) {
  std::u16string text = Replaced(std::u16string(input), u"\n", kCrLf);
  std::vector<std::u16string> lines;
  for (std::u16string_view piece : Split(text, kCrLf)) lines.emplace_back(piece);
  std::u16string output;
  for (std::u16string& line : lines) {
    line = Replaced(line, u"\r", u"");
    while (!line.empty() && line.back() == u' ') line.pop_back();
    if (line.empty()) {
      output += kCrLf;
      continue;
    }
    while (!line.empty() && (line[0] == u' ' || line[0] == u'\t')) line.erase(0, 1);
    if (line.empty() || line == u"?") continue;
    line = Replaced(line, u" ", u"");
    output += line;
    const char16_t last = line.back();
    if (std::u16string_view(u"。？！…—").find(last) != std::u16string_view::npos) {
      output += kCrLf;
      output += u"　　";
    }
  }
  if (!lines.empty() && lines[0].size() > 2 && !lines[0].starts_with(u"　　")) {
    output = u"　　" + output;
  }
  output = Replaced(output, u"》《", u"》、《");
  return Replaced(output, u" ", u"");
}

std::optional<std::u16string> ReferenceExtract(std::u16string page, const BlockedWords& words) {
  page = Replaced(page, u"\n", u"\r");
  page = Replaced(page, u"<p", u"\r\n<p");
  page = Replaced(page, u" ", u"");
  page = Replaced(page, u"&nbsp;", u"");
  const std::vector<std::u16string_view> pieces = Split(page, u"\r");
  if (pieces.size() == 1) return std::nullopt;
  std::u16string text;
  for (std::u16string_view piece : pieces) {
    if (!piece.empty() && (piece.find(u"<p") != piece.npos || piece.find(u"</p") != piece.npos)) {
      text += piece;
      text += kCrLf;
    }
  }
  text = RegexReplace(text, u"<p.*?>", u"");
  text = RegexReplace(text, u"</.*?>", u"");
  text = RegexReplace(text, u".*?>", u"");
  text = Replaced(text, u"?/p>", u"");
  text = Replaced(text, u"\r\n\r\n", kCrLf);
  text = Replaced(text, u"?", u"");
  const std::u16string copy = Replaced(Replaced(text, u"\n", kCrLf), u" ", u"");
  std::u16string kept;
  for (std::u16string_view line : Split(copy, kCrLf)) {
    const bool blank = line.find_first_not_of(u' ') == line.npos;
    if (!blank && line != u"\r" && line.find(u'<') == line.npos) {
      kept += line;
      kept += kCrLf;
    }
  }
  return RemoveBlockedWords(ReferenceFormat(kept), words);
}

}  // namespace veltrin::test
