// The main window's messages name the file they are about.
#include "desktop/window_texts.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(WindowTextsTest, QuestionAndDoneMessageNameTheFile) {
  EXPECT_EQ(OverwriteQuestion(u"词.txt"), u"文件 词.txt 已存在。\r\n要覆盖它吗？");
  EXPECT_EQ(ExportDoneMessage(u"词.txt"), u"已导出 词.txt。");
}

TEST(WindowTextsTest, ProgressCaptionGivesTheSizeAndThePercentageWhenKnown) {
  const struct {
    std::uint64_t received, total;
    const char16_t* expected;
  } rows[] = {
      {0, 0, u"Veltrin - 正在读取 0 字节"},
      {1023, 0, u"Veltrin - 正在读取 1023 字节"},
      {1536, 4096, u"Veltrin - 正在读取 1 KB（37%）"},
      {(3 << 20) / 2, 3 << 20, u"Veltrin - 正在读取 1.5 MB（50%）"},
      {5 << 20, 5 << 20, u"Veltrin - 正在读取 5.0 MB（100%）"},
      {7, 5, u"Veltrin - 正在读取 7 字节（100%）"},  // a server that sent more than it said
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ProgressCaption(u"Veltrin", row.received, row.total), row.expected);
  }
}

TEST(WindowTextsTest, FileFailureNamesTheFileAndTheReason) {
  EXPECT_EQ(FileFailureMessage(u"导出", u"C:\\词.txt", u"Access is denied."),
            u"无法导出文件 C:\\词.txt。\r\n\r\nAccess is denied.");
}

}  // namespace
}  // namespace veltrin
