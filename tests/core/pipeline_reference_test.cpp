// Checks the pipeline against a literal, step-by-step rendering of it that uses the general regular
// expression engine and arrays of strings, on seeded random pages built from the pieces that
// matter, whole and streamed in pieces cut at every awkward place; and checks the escape
// translation of the regular-expression replacement.
#include <gtest/gtest.h>

#include <random>

#include "core/paragraph_stream.h"
#include "core/pipeline.h"
#include "core/regex/regex_error.h"
#include "core/text_ops.h"
#include "core/utf8.h"
#include "core/utf8_stream.h"
#include "tests/core/support/pipeline_reference.h"

namespace veltrin {
namespace {

using test::ReferenceExtract;
using test::ReferenceFormat;

std::u16string RandomText(std::mt19937& random, int max_pieces) {
  static const std::u16string_view kPieces[] = {
      u"<p>",    u"</p>", u"<p",  u"</p",  u"<pre>", u"<b>",  u"</",        u"<",    u">",
      u"p",      u"/",    u" ",   u" ",    u"\t",    u"\n",   u"\n",        u"\r\n", u"\r",
      u"&nbsp;", u"&nb",  u"sp;", u"?",    u"？",    u"。",   u"…",         u"a",    u"bc",
      u"文",     u"《",   u"》",  u"广告", u"　　",  u"?/p>", u"\U00020000"};
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

// Gathers a streamed result.
class Collector : public TextSink {
 public:
  void Write(std::u16string_view text) override { text_ += text; }
  std::u16string text_;
};

// Streams the UTF-8 bytes of a page through the decoder and the extractor, cut at `cuts` (sorted
// byte offsets).
std::optional<std::u16string> StreamExtract(std::string_view bytes,
                                            const std::vector<std::size_t>& cuts,
                                            const BlockedWords& words) {
  Collector result;
  ParagraphExtractor extractor(words, result);
  Utf8StreamDecoder decoder;
  std::u16string units;
  std::size_t from = 0;
  auto feed = [&](std::size_t to) {
    units.clear();
    decoder.Decode(bytes.substr(from, to - from), units);
    extractor.Feed(units);
    from = to;
  };
  for (std::size_t cut : cuts) feed(cut);
  feed(bytes.size());
  units.clear();
  decoder.Finish(units);
  extractor.Feed(units);
  if (!extractor.Finish()) {
    EXPECT_EQ(result.text_, u"") << "a page without breaks wrote something";
    return std::nullopt;
  }
  return result.text_;
}

TEST(PipelineReference, EveryCutOfAnAwkwardPageAgrees) {
  // Cuts land inside "&nbsp;", "<p" and "</p", between CR and LF, inside two-, three- and
  // four-byte sequences (the last a surrogate pair once decoded), in an ill-formed sequence, in a
  // title pair and in blocked words.
  const std::string page =
      "<html>\r\n<p class=x>&nbsp;&nbsp;第一句\xF0\xA0\x80\x80，\r\n第二句。</p>\r\n"
      "<p>广告《甲》《乙》好? \xC3\xA9 \xE4\xB8 x\xF0\x9F\x98</p>\n<pre>a&nbsp</pre>"
      "<p>bc&nbsp;;&nb</p><\r<p\r\n</p><";
  BlockedWords words;
  words.Rebuild({u"广告", u"", u"bc", u"\U00020000"});
  const auto expected = ReferenceExtract(Utf8BytesToText(page), words);
  for (std::size_t cut = 0; cut <= page.size(); ++cut) {
    ASSERT_EQ(StreamExtract(page, {cut}, words), expected) << "cut at " << cut;
  }
  // Every piece one byte long.
  std::vector<std::size_t> all(page.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  EXPECT_EQ(StreamExtract(page, all, words), expected);
}

TEST(PipelineReference, RandomPagesStreamedInRandomPiecesAgree) {
  std::mt19937 random(7);
  BlockedWords words;
  words.Rebuild({u"广告", u"》、", u"bc"});
  for (int round = 0; round < 5000; ++round) {
    std::string bytes = TextToUtf8(RandomText(random, 30));
    if (random() % 4 == 0) bytes.insert(random() % (bytes.size() + 1), "\xE6\x96");  // cut short
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0; at < bytes.size(); at += 1 + random() % 6) cuts.push_back(at);
    ASSERT_EQ(StreamExtract(bytes, cuts, words), ReferenceExtract(Utf8BytesToText(bytes), words))
        << round;
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
