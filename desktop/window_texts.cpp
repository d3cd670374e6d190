// The main window's composed message texts.
#include "desktop/window_texts.h"

namespace veltrin {

std::u16string OverwriteQuestion(std::u16string_view file_title) {
  return u"文件 " + std::u16string(file_title) + u" 已存在。\r\n要覆盖它吗？";
}

std::u16string ExportDoneMessage(std::u16string_view file_title) {
  return u"已导出 " + std::u16string(file_title) + u"。";
}

}  // namespace veltrin
