// The word-list line rules, the dropped-file rule and the window's composed texts.
#include "core/word_list_file.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

using Lines = std::vector<std::u16string>;

TEST(SplitTextLinesTest, EveryKindOfBreakEndsALine) {
  EXPECT_EQ(SplitTextLines(u"甲\r\n乙\n丙\r丁"), (Lines{u"甲", u"乙", u"丙", u"丁"}));
  EXPECT_EQ(SplitTextLines(u"甲\n\r乙"), (Lines{u"甲", u"", u"乙"}));  // LF CR is two breaks
  EXPECT_EQ(SplitTextLines(u"甲\r\n"), (Lines{u"甲", u""}));
  EXPECT_EQ(SplitTextLines(u"\r\n\r\n"), (Lines{u"", u"", u""}));
  EXPECT_EQ(SplitTextLines(u""), (Lines{u""}));
}

TEST(ImportedWordListTest, LfAndCrLfFilesGiveOneWordPerItem) {
  EXPECT_EQ(ImportedWordList(u"广告\n推广\n"), (Lines{u"广告", u"推广", u""}));
  EXPECT_EQ(ImportedWordList(u"广告\r\n推广\r\n"), (Lines{u"广告", u"推广", u""}));
  EXPECT_EQ(ImportedWordList(u"广告\r\n 推广 \r\n\r\n"), (Lines{u"广告", u" 推广 ", u"", u""}));
}

TEST(ImportedWordListTest, SingleLineLeavesTheListAlone) {
  EXPECT_FALSE(ImportedWordList(u"广告").has_value());
  // An empty file is one (empty) line as well.
  EXPECT_FALSE(ImportedWordList(u"").has_value());
}

TEST(ExportedWordListTest, EveryItemEndsWithCrLfAndTheRoundTripAddsOneEmptyItem) {
  EXPECT_EQ(ExportedWordList({u"广告", u"", u"推广"}), u"广告\r\n\r\n推广\r\n");
  EXPECT_EQ(ExportedWordList({}), u"");
  EXPECT_EQ(ImportedWordList(ExportedWordList({u"广告"})), (Lines{u"广告", u""}));
}

TEST(DroppedHtmlFileTest, OnlyTheFirstFileEndingInHtmlInAnyCaseCounts) {
  EXPECT_EQ(DroppedHtmlFile({u"C:\\a.HTML"}), u"C:\\a.HTML");
  EXPECT_EQ(DroppedHtmlFile({u"C:\\章节.html", u"C:\\b.txt"}), u"C:\\章节.html");
  EXPECT_EQ(DroppedHtmlFile({u"C:\\a.HtMl"}), u"C:\\a.HtMl");
  EXPECT_EQ(DroppedHtmlFile({u".html"}), u".html");
  EXPECT_FALSE(DroppedHtmlFile({u"C:\\a.htm"}));
  EXPECT_FALSE(DroppedHtmlFile({u"C:\\a.txt", u"C:\\b.html"}));
  EXPECT_FALSE(DroppedHtmlFile({u"html"}));
  EXPECT_FALSE(DroppedHtmlFile({}));
}

}  // namespace
}  // namespace veltrin
