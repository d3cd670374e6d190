// Checks the pipeline against a literal, step-by-step rendering of it that uses the general regular
// expression engine and arrays of strings, on seeded random pages built from the pieces that
// matter; and checks the escape translation of the regular-expression replacement.
#include <gtest/gtest.h>

#include <random>

#include "app/core/pipeline.h"
#include "app/core/regex/regex_error.h"
#include "app/core/text_ops.h"

namespace veltrin {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

std::u16string Replaced(std::u16string text, std::u16string_view from, std::u16string_view to) {
  ReplaceAll(text, from, to);
  return text;
}

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

std::u16string RandomText(std::mt19937& random, int max_pieces) {
  static const std::u16string_view kPieces[] = {
      u"<p>",    u"</p>", u"<p",  u"</p",  u"<pre>", u"<b>", u"</", u"<",    u">",
      u"p",      u"/",    u" ",   u" ",    u"\t",    u"\n",  u"\n", u"\r\n", u"\r",
      u"&nbsp;", u"&nb",  u"sp;", u"?",    u"？",    u"。",  u"…",  u"a",    u"bc",
      u"文",     u"《",   u"》",  u"广告", u"　　",  u"?/p>"};
  std::u16string text;
  for (int i = static_cast<int>(random() % (max_pieces + 1)); i > 0; --i) {
    text += kPieces[random() % std::size(kPieces)];
  }
  return text;
}

TEST(PipelineReference, RandomPagesAgree) {
  std::mt19937 random(20240611);
  BlockedWords words;
  words.Rebuild({u"广告", u"", u"bc"});
  for (int round = 0; round < 20000; ++round) {
    const std::u16string page = RandomText(random, 30);
    ASSERT_EQ(ExtractParagraphs(page, words), ReferenceExtract(page, words)) << round;
  }
}

TEST(PipelineReference, RandomFormatterInputsAgree) {
  std::mt19937 random(99);
  for (int round = 0; round < 20000; ++round) {
    const std::u16string text = RandomText(random, 12);
    ASSERT_EQ(FormatParagraphs(text), ReferenceFormat(text)) << round;
  }
}

TEST(RegexReplace, TranslatesEscapesInOrder) {
  struct Row {
    std::u16string replacement, expected;
  };
  const Row rows[] = {
      {u"\\n\\r", u"x\r\ny"},
      {u"\\r\\n", u"x\r\ny"},
      {u"\\n", u"x\ny"},
      {u"\\r", u"x\ry"},
      {u"\\s", u"x y"},
      {u"\\t", u"x\ty"},
      {u"\\f", u"x\fy"},
      {u"\\v", u"x\vy"},
      {u"\\n\\n\\r", u"x\n\r\ny"},  // the pair is taken first, leftmost
      {u"", u"xy"},
  };
  for (const Row& row : rows) EXPECT_EQ(RegexReplace(u"x-y", u"-", row.replacement), row.expected);
}

TEST(RegexReplace, MultiLineCaseSensitiveAndUnchangedWithoutMatch) {
  EXPECT_EQ(RegexReplace(u"a\nb", u"^b", u"c"), u"a\nc");
  EXPECT_EQ(RegexReplace(u"<P>x<p>", u"<p.*?>", u""), u"<P>x");
  EXPECT_EQ(RegexReplace(u"ab>c\nd>e>f", u".*?>", u""), u"c\nf");
  EXPECT_EQ(RegexReplace(u"text", u"z", u"\\n"), u"text");
  EXPECT_THROW(RegexReplace(u"text", u"(", u""), RegexError);
}

}  // namespace
}  // namespace veltrin
