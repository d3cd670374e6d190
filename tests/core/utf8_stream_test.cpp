// The piecewise UTF-8 decoder and replace-all: cut anywhere, they give what the whole-text
// versions give.
#include "core/utf8_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/stream_replacer.h"
#include "core/text_ops.h"
#include "core/utf8.h"

namespace veltrin {
namespace {

std::u16string DecodeInPieces(std::string_view bytes, const std::vector<std::size_t>& cuts,
                              bool skip_mark) {
  Utf8StreamDecoder decoder(skip_mark);
  std::u16string text;
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    decoder.Decode(bytes.substr(from, cut - from), text);
    from = cut;
  }
  decoder.Decode(bytes.substr(from), text);
  decoder.Finish(text);
  return text;
}

TEST(Utf8StreamDecoder, EveryCutOfIllFormedAndWellFormedBytesAgrees) {
  const std::string samples[] = {
      "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z",        // two-, three- and four-byte forms
      "\xE4\xB8 \xF0\x9F\x98\xF0\x9F\xC3",             // cut-short sequences, stray leads
      "\xE0\x80\x80\xED\xA0\x80\xF4\x90\x80\x80\xFF",  // overlong, surrogate, too high, FF
      "\xEF\xBB\xBF\xEF\xBB\xBFx",                     // two marks
      "\xEF\xBB",                                      // a mark cut short at the end
      "\xEF\xBBx",
  };
  for (const std::string& bytes : samples) {
    std::string_view without_mark = bytes;
    if (without_mark.starts_with("\xEF\xBB\xBF")) without_mark.remove_prefix(3);
    for (std::size_t a = 0; a <= bytes.size(); ++a) {
      for (std::size_t b = a; b <= bytes.size(); ++b) {
        ASSERT_EQ(DecodeInPieces(bytes, {a, b}, false), Utf8BytesToText(bytes)) << a << "," << b;
        ASSERT_EQ(DecodeInPieces(bytes, {a, b}, true), Utf8BytesToText(without_mark))
            << a << "," << b;
      }
    }
  }
}

TEST(Utf8StreamDecoder, RandomBytesInRandomPiecesAgree) {
  std::mt19937 random(5);
  const unsigned char alphabet[] = {0x41, 0x80, 0x9F, 0xA0, 0xBF, 0xC2, 0xDF, 0xE0, 0xED,
                                    0xEF, 0xF0, 0xF4, 0xF5, 0xBB, 0x90, 0x8F, 0xFF};
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(random() % 12, '\0');
    for (char& byte : bytes) byte = static_cast<char>(alphabet[random() % std::size(alphabet)]);
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0; at < bytes.size(); at += 1 + random() % 3) cuts.push_back(at);
    ASSERT_EQ(DecodeInPieces(bytes, cuts, false), Utf8BytesToText(bytes)) << round;
  }
}

TEST(StreamReplacer, PiecesCutAnywhereGiveOnePass) {
  struct Row {
    std::u16string text, from, to;
  };
  const Row rows[] = {
      {u"aaaaa", u"aa", u"b"},                // non-overlapping, leftmost first
      {u"》《》《《》", u"》《", u"》、《"},  // the title pair, growing
      {u"xabcabcx", u"abc", u""},
      {u"ab", u"abc", u""},  // a tail that never completes
      {u"", u"a", u"b"},
  };
  for (const Row& row : rows) {
    std::u16string expected = row.text;
    ReplaceAll(expected, row.from, row.to);
    for (std::size_t a = 0; a <= row.text.size(); ++a) {
      for (std::size_t b = a; b <= row.text.size(); ++b) {
        StreamReplacer replacer(row.from, row.to);
        std::u16string out;
        replacer.Push(std::u16string_view(row.text).substr(0, a), out);
        replacer.Push(std::u16string_view(row.text).substr(a, b - a), out);
        replacer.Push(std::u16string_view(row.text).substr(b), out);
        replacer.Finish(out);
        ASSERT_EQ(out, expected) << a << "," << b;
      }
    }
  }
}

}  // namespace
}  // namespace veltrin
