// The extraction pipeline on whole small pages with known results, its formatter and word removal,
// and the literal text operations it is built from.
#include "core/pipeline.h"

#include <gtest/gtest.h>

#include <random>

#include "core/text_ops.h"

namespace veltrin {
namespace {

using Pieces = std::vector<std::u16string_view>;

TEST(TextOps, ReplaceAllIsOneLeftToRightPass) {
  struct Row {
    std::u16string text, from, to, expected;
  };
  const Row rows[] = {
      {u"aaa", u"aa", u"b", u"ba"},      // non-overlapping, leftmost first
      {u"aaa", u"a", u"aa", u"aaaaaa"},  // the inserted text is not searched again
      {u"abab", u"ab", u"", u""},
      {u"xaby", u"ab", u"cd", u"xcdy"},
      {u"abc", u"", u"z", u"abc"},  // an empty pattern changes nothing
      {u"", u"a", u"b", u""},
      {u"a\nb\n", u"\n", u"\r\n", u"a\r\nb\r\n"},
      {u"\r\n\r\n\r\n", u"\r\n\r\n", u"\r\n", u"\r\n\r\n"},
      {u"a?b??", u"?", u"", u"ab"},
  };
  for (const Row& row : rows) {
    std::u16string text = row.text;
    ReplaceAll(text, row.from, row.to);
    EXPECT_EQ(text, row.expected);
  }
}

TEST(TextOps, ReplaceAllAgreesWithANaivePass) {
  std::mt19937 random(11);
  auto random_text = [&](int max_size) {
    std::u16string text;
    for (int i = static_cast<int>(random() % (max_size + 1)); i > 0; --i)
      text += static_cast<char16_t>(u'a' + random() % 3);
    return text;
  };
  for (int round = 0; round < 5000; ++round) {
    const std::u16string original = random_text(30), from = random_text(3), to = random_text(5);
    std::u16string expected;
    for (std::size_t i = 0; i < original.size();) {
      if (!from.empty() && original.compare(i, from.size(), from) == 0) {
        expected += to;
        i += from.size();
      } else {
        expected += original[i++];
      }
    }
    std::u16string text = original;
    ReplaceAll(text, from, to);
    ASSERT_EQ(text, expected) << round;
  }
}

TEST(TextOps, SplitKeepsEmptyPieces) {
  EXPECT_EQ(Split(u"", u"\r\n"), Pieces{});
  EXPECT_EQ(Split(u"a", u"\r\n"), Pieces{u"a"});
  EXPECT_EQ(Split(u"\r\n", u"\r\n"), (Pieces{u"", u""}));
  EXPECT_EQ(Split(u"a\r\nb\r\n", u"\r\n"), (Pieces{u"a", u"b", u""}));
  EXPECT_EQ(Split(u"a\r\r\nb", u"\r\n"), (Pieces{u"a\r", u"b"}));
  EXPECT_EQ(Split(u"aaa", u"aa"), (Pieces{u"", u"a"}));
  EXPECT_EQ(Split(u"abc", u""), Pieces{u"abc"});
}

TEST(TextOps, FindTextAgreesWithFind) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::u16string haystack, needle;
    for (int i = random() % 40; i > 0; --i) haystack += static_cast<char16_t>(u'a' + random() % 3);
    for (int i = 1 + random() % 3; i > 0; --i) needle += static_cast<char16_t>(u'a' + random() % 3);
    const std::size_t from = random() % 42;
    EXPECT_EQ(FindText(haystack, needle, from), std::u16string_view(haystack).find(needle, from));
  }
}

TEST(Pipeline, IsWebAddress) {
  EXPECT_TRUE(IsWebAddress(u"http://"));
  EXPECT_TRUE(IsWebAddress(u"http://a"));
  EXPECT_TRUE(IsWebAddress(u"https://"));
  EXPECT_FALSE(IsWebAddress(u"https:/"));
  EXPECT_FALSE(IsWebAddress(u"http:/"));
  EXPECT_FALSE(IsWebAddress(u"HTTP://example.com"));
  EXPECT_FALSE(IsWebAddress(u"Https://example.com"));
  EXPECT_FALSE(IsWebAddress(u"ftp://example.com"));
  EXPECT_FALSE(IsWebAddress(u"/home/user/page.html"));
  EXPECT_FALSE(IsWebAddress(u""));
}

TEST(Pipeline, BlockedWordsRebuildPutsItemIAtIndexI) {
  BlockedWords words;
  EXPECT_TRUE(words.Words().empty());
  words.Rebuild({});
  EXPECT_EQ(words.Words(), std::vector<std::u16string>{u""});
  words.Rebuild({u"x", u"", u"y"});
  EXPECT_EQ(words.Words(), (std::vector<std::u16string>{u"x", u"", u"y"}));
}

TEST(Pipeline, RemoveBlockedWordsInArrayOrder) {
  BlockedWords words;
  EXPECT_EQ(RemoveBlockedWords(u"abc", words), u"abc");  // never sized
  words.Rebuild({u"广告", u""});
  EXPECT_EQ(RemoveBlockedWords(u"看广告，广告。", words), u"看，。");
  words.Rebuild({u"b", u"ac"});
  EXPECT_EQ(RemoveBlockedWords(u"abc", words), u"");  // "ac" appears once "b" is gone
  words.Rebuild({u"ac", u"b"});
  EXPECT_EQ(RemoveBlockedWords(u"abc", words), u"ac");
}

TEST(Pipeline, FormatParagraphs) {
  struct Row {
    std::u16string text, expected;
  };
  const Row rows[] = {
      {u"", u""},
      {u"第一句\r\n第二句。\r\n", u"　　第一句第二句。\r\n　　\r\n"},
      {u"abc", u"　　abc"},
      {u"ab\r\ncd。\r\n", u"abcd。\r\n　　\r\n"},        // a first line of 2 is not indented
      {u"　　已缩进。\n", u"　　已缩进。\r\n　　\r\n"},  // nor one that already is
      {u"   \r\nabc。\r\n", u"\r\nabc。\r\n　　\r\n"},   // spaces only: an empty line
      {u"\t \t\r\n \tx\r\n", u"x\r\n"},                  // tabs: nothing
      {u"?\r\nab?\r\n", u"ab?\r\n"},                     // a lone "?" line is dropped
      {u"a b c！\r\n", u"　　abc！\r\n　　\r\n"},
      {u"一。\r\n二？\r\n三！\r\n四…\r\n五—\r\n六",
       u"一。\r\n　　二？\r\n　　三！\r\n　　四…\r\n　　五—\r\n　　六"},
      {u"《甲》《乙》。\r\n", u"　　《甲》、《乙》。\r\n　　\r\n"},
      {u"a\r\r\r\nb。", u"ab。\r\n　　"},  // CRs inside a line vanish
  };
  for (const Row& row : rows)
    EXPECT_EQ(FormatParagraphs(row.text), row.expected) << row.expected.size();
}

TEST(Pipeline, StopsWhenThePageHasNoLineBreak) {
  const BlockedWords words;
  EXPECT_EQ(ExtractParagraphs(u"<html><body>text</body></html>", words), std::nullopt);
  EXPECT_EQ(ExtractParagraphs(u"plain", words), std::nullopt);
  EXPECT_EQ(ExtractParagraphs(u"", words), u"");           // no pieces: runs on, empty result
  EXPECT_EQ(ExtractParagraphs(u" &nb sp; ", words), u"");  // nothing left after normalising
  EXPECT_EQ(ExtractParagraphs(u"a\nb", words), u"");       // no paragraph lines
  EXPECT_EQ(ExtractParagraphs(u"<p>abc。</p>", words), u"　　abc。\r\n　　\r\n");
}

struct PageRow {
  std::u16string page;
  std::u16string expected;
};

class WholePage : public testing::TestWithParam<PageRow> {};

TEST_P(WholePage, GivesExactText) {
  BlockedWords words;
  words.Rebuild({u"广告", u""});
  EXPECT_EQ(ExtractParagraphs(GetParam().page, words), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WholePage,
    testing::Values(PageRow{u"<html>\r\n<body>\r\n<p>第一句\r\n第二句。</p>\r\n</body>\r\n</html>",
                            u"　　第一句第二句。\r\n　　\r\n"},
                    PageRow{
                        u"<p class=\"x\">Hello world</p>\n<p>A&amp;B&nbsp;C?</p>\n<p>真的吗？</p>\n"
                        u"<p>读《甲》《乙》广告。</p>",
                        u"　　HelloworldA&amp;BC真的吗？\r\n　　读《甲》、《乙》。\r\n　　\r\n"},
                    PageRow{u"<div>\n<p><b>粗</b>体。</p>\n</div>", u"　　粗体。\r\n　　\r\n"},
                    PageRow{u"<p>a>b</p>\n", u"b\r\n"},  // up to the last ">" goes
                    PageRow{u"<p>x<y</p>\n", u""},       // a line with "<" is dropped
                    PageRow{u"<p>A&nb sp;B。</p>\n", u"　　AB。\r\n　　\r\n"},  // spaces go first
                    PageRow{u"<pre>代码。</pre>\n<param>\n", u"　　代码。\r\n　　\r\n"},
                    PageRow{u"\xFEFF<p>标记。</p>", u"　　标记。\r\n　　\r\n"},
                    PageRow{u"<p>Hello\r\n", u"　　Hello\r\n"},
                    PageRow{u"<p>甲\n乙。</p>", u"甲乙。\r\n　　\r\n"}));

TEST(Pipeline, OneLinePageWithManyUnclosedTags) {
  // Tag starts with no ">" on their line must not rescan the line each time.
  std::u16string page = u"x\n";
  for (int i = 0; i < 200000; ++i) page += u"</p";
  const auto result = ExtractParagraphs(page, BlockedWords());
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, u"");
}

}  // namespace
}  // namespace veltrin
