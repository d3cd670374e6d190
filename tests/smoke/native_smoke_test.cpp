// Proves that the native build links and runs GoogleTest and handles UTF-16 literals as expected.
#include <gtest/gtest.h>

#include <string>

TEST(NativeSmoke, Utf16LiteralsKeepTheirCodeUnits) {
  const std::u16string text = u"第一章";
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], 0x7B2C);
  EXPECT_EQ(text[2], 0x7AE0);
}
