// UTF-16 helpers: UTF-16LE byte images and the case-insensitive comparison.
#include "common/utf16.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(Utf16LeBytes, LowByteFirstAndSurrogatesKept) {
  EXPECT_EQ(ToUtf16LeBytes(u"A\u00E9\u4E2D\U0001F600"),
            (std::vector<uint8_t>{0x41, 0x00, 0xE9, 0x00, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE}));
  EXPECT_TRUE(ToUtf16LeBytes(u"").empty());
}

TEST(Utf16LeBytes, ReadBackDropsAnOddLastByte) {
  const std::vector<uint8_t> bytes = {0x2C, 0x7B, 0x00, 0x4E, 0x41};
  EXPECT_EQ(FromUtf16LeBytes(bytes), u"\u7B2C\u4E00");
  EXPECT_EQ(FromUtf16LeBytes({}), u"");
  std::u16string text = u"\u7B2C\u4E00\u7AE0 lone surrogate: ";
  text += static_cast<char16_t>(0xD800);
  EXPECT_EQ(FromUtf16LeBytes(ToUtf16LeBytes(text)), text);
}

TEST(EqualsIgnoreCase, FoldsEachCodeUnit) {
  EXPECT_TRUE(EqualsIgnoreCase(u"identity", u"IDENTITY"));
  EXPECT_TRUE(EqualsIgnoreCase(u"Text", u"tExT"));
  EXPECT_TRUE(EqualsIgnoreCase(u"\u0391\u03B2\u0393", u"\u03B1\u0392\u03B3"));  // Greek
  EXPECT_TRUE(EqualsIgnoreCase(u"\u0416", u"\u0436"));                          // Cyrillic
  EXPECT_TRUE(EqualsIgnoreCase(u"", u""));
  EXPECT_FALSE(EqualsIgnoreCase(u"identity", u"identit"));
  EXPECT_FALSE(EqualsIgnoreCase(u"gzip", u"gzap"));
  EXPECT_FALSE(EqualsIgnoreCase(u"\u4E2D", u"\u4E2E"));
}

#ifdef _WIN32
TEST(WideViews, SameCodeUnitsBothWays) {
  const std::u16string text = u"C:\\\u7F51\u9875\\\U0001F600.html";
  const std::wstring wide = ToWide(text);
  EXPECT_EQ(wide, L"C:\\\u7F51\u9875\\\U0001F600.html");
  EXPECT_EQ(ToU16(wide), text);
  EXPECT_EQ(std::wstring_view(WideCStr(text)), wide);
  EXPECT_EQ(AsU16(AsWide(text)).data(), text.data()) << "views copy nothing";
}
#endif

}  // namespace
}  // namespace veltrin
