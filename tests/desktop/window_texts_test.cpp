// The main window's messages name the file they are about.
#include "desktop/window_texts.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(WindowTextsTest, QuestionAndDoneMessageNameTheFile) {
  EXPECT_EQ(OverwriteQuestion(u"词.txt"), u"文件 词.txt 已存在。\r\n要覆盖它吗？");
  EXPECT_EQ(ExportDoneMessage(u"词.txt"), u"已导出 词.txt。");
}

}  // namespace
}  // namespace veltrin
