// Splitting of word list files: every line end style, empty lines kept as (harmless) words.
#include "cli/word_list.h"

#include <gtest/gtest.h>

namespace veltrin::cli {
namespace {

TEST(WordListTest, EveryLineEndStyleEndsAWord) {
  const struct {
    std::u16string text;
    std::vector<std::u16string> words;
  } cases[] = {
      {u"", {}},
      {u"广告", {u"广告"}},
      {u"广告\r\n", {u"广告"}},
      {u"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
      {u"a\r\n\r\nb\r\n", {u"a", u"", u"b"}},
      {u"\n\r", {u"", u""}},   // LF then CR: two line ends, not one
      {u" x \r\n", {u" x "}},  // spaces are part of the word
  };
  for (const auto& c : cases) EXPECT_EQ(SplitWordList(c.text), c.words);
}

}  // namespace
}  // namespace veltrin::cli
