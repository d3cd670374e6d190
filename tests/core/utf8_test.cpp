// The UTF-8 codec: maximal-subpart replacement, boundaries of the valid ranges, the ASCII fast
// path.
#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrin {
namespace {

struct DecodeRow {
  std::string bytes;
  std::u16string text;
};

class Utf8Decode : public testing::TestWithParam<DecodeRow> {};

TEST_P(Utf8Decode, GivesExpectedUnits) {
  EXPECT_EQ(Utf8BytesToText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, Utf8Decode,
    testing::Values(DecodeRow{"", u""}, DecodeRow{"abc", u"abc"},
                    DecodeRow{std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    DecodeRow{"\xC2\x80", u"\u0080"}, DecodeRow{"\xDF\xBF", u"\u07FF"},
                    DecodeRow{"\xE0\xA0\x80", u"\u0800"}, DecodeRow{"\xED\x9F\xBF", u"\uD7FF"},
                    DecodeRow{"\xEE\x80\x80", u"\uE000"}, DecodeRow{"\xEF\xBF\xBF", u"\uFFFF"},
                    DecodeRow{"\xF0\x90\x80\x80", u"\U00010000"},
                    DecodeRow{"\xF0\x9F\x98\x80", u"\U0001F600"},
                    DecodeRow{"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
                    DecodeRow{"\xEF\xBB\xBF<p>", u"\uFEFF<p>"},  // the mark is kept here
                    DecodeRow{"\xE7\xAC\xAC\xE4\xB8\x80", u"第一"}));

// Each maximal subpart (a prefix of a valid sequence cut short) is one U+FFFD; a byte that cannot
// start or continue anything is one U+FFFD of its own and the next byte starts afresh.
INSTANTIATE_TEST_SUITE_P(
    IllFormed, Utf8Decode,
    testing::Values(
        DecodeRow{"\x80", u"\uFFFD"},
        DecodeRow{"\xBF"
                  "a",
                  u"\uFFFDa"},
        DecodeRow{"\xC0\xAF", u"\uFFFD\uFFFD"}, DecodeRow{"\xC1\xBF", u"\uFFFD\uFFFD"},
        DecodeRow{"\xC2", u"\uFFFD"},
        DecodeRow{"\xC2"
                  "A",
                  u"\uFFFDA"},
        DecodeRow{"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},  // overlong
        DecodeRow{"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
        DecodeRow{"\xE2\x82", u"\uFFFD"},
        DecodeRow{"\xE2\x82"
                  "A",
                  u"\uFFFDA"},
        DecodeRow{"\xE2\x82\xE2\x82\xAC", u"\uFFFD\u20AC"},
        DecodeRow{"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong
        DecodeRow{"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        DecodeRow{"\xF0\x9F\x98", u"\uFFFD"},
        DecodeRow{"\xF0\x9F\x98"
                  "A",
                  u"\uFFFDA"},
        DecodeRow{"\xF5\x80", u"\uFFFD\uFFFD"}, DecodeRow{"\xFE\xFF", u"\uFFFD\uFFFD"},
        // The example of the Unicode standard (U+FFFD substitution of maximal subparts).
        DecodeRow{"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
                  u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"}));

TEST(Utf8, NonAsciiAtEveryOffsetOfTheFastPath) {
  for (std::size_t offset = 0; offset < 20; ++offset) {
    // Built by concatenation: GCC 12 warns falsely (-Wrestrict) on insert() into a string here.
    const std::string bytes =
        std::string(offset, 'x') + "\xE4\xB8\x80" + std::string(24 - offset, 'x');
    const std::u16string text =
        std::u16string(offset, u'x') + u"一" + std::u16string(24 - offset, u'x');
    EXPECT_EQ(Utf8BytesToText(bytes), text) << offset;
    EXPECT_EQ(TextToUtf8(text), bytes) << offset;
  }
}

TEST(Utf8, EveryScalarValueRoundTrips) {
  std::u16string text;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x10000) {
      text += static_cast<char16_t>(c);
    } else {
      text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  EXPECT_EQ(Utf8BytesToText(TextToUtf8(text)), text);
}

TEST(Utf8, WithoutByteOrderMarkTakesOneLeadingMarkOnly) {
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF<p>"), "<p>");
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF\xEF\xBB\xBFx"), "\xEF\xBB\xBFx");
  EXPECT_EQ(WithoutByteOrderMark("x\xEF\xBB\xBF"), "x\xEF\xBB\xBF");
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB"), "\xEF\xBB") << "a cut mark is text";
  EXPECT_EQ(WithoutByteOrderMark(""), "");
}

TEST(Utf8, EncodesLoneSurrogatesAsReplacement) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(TextToUtf8(u"\xD800"), fffd);
  EXPECT_EQ(TextToUtf8(u"a\xDC00"), "a" + fffd);
  EXPECT_EQ(TextToUtf8(std::u16string{0xDC00, 0xD800}), fffd + fffd);  // reversed pair
  EXPECT_EQ(TextToUtf8(std::u16string{0xD800, u'a'}), fffd + "a");
  EXPECT_EQ(TextToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(TextToUtf8(std::u16string(u"\0", 1)), std::string("\0", 1));
}

TEST(Utf8Decode, LongRunsEndingAtEveryOffsetOfTheOutputBuffer) {
  // Past bug: an ASCII run that filled the decoder's 4096-unit staging buffer to its last unit
  // was followed by a write past its end (seen with AddressSanitizer).
  for (std::size_t run = 4070; run <= 4110; ++run) {
    for (const std::string tail : {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xFF"}) {
      const std::string bytes = std::string(run, 'a') + tail + tail;
      const std::u16string text = Utf8BytesToText(bytes);
      ASSERT_EQ(text.substr(0, run), std::u16string(run, u'a')) << run;
      EXPECT_EQ(text.substr(run), Utf8BytesToText(tail + tail)) << run;
    }
  }
  std::string chinese;
  for (int i = 0; i < 3000; ++i) chinese += "\xE4\xB8\xAD";
  EXPECT_EQ(Utf8BytesToText(chinese + "\xF0\x9F\x98\x80"),
            std::u16string(3000, u'\u4E2D') + u"\U0001F600");
}

}  // namespace
}  // namespace veltrin
