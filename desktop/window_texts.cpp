// The main window's composed message texts.
#include "desktop/window_texts.h"

namespace veltrin {

std::u16string OverwriteQuestion(std::u16string_view file_title) {
  return u"文件 " + std::u16string(file_title) + u" 已存在。\r\n要覆盖它吗？";
}

std::u16string ExportDoneMessage(std::u16string_view file_title) {
  return u"已导出 " + std::u16string(file_title) + u"。";
}

namespace {

void AppendAscii(std::u16string& text, const std::string& ascii) {
  text.append(ascii.begin(), ascii.end());
}

void AppendSize(std::u16string& text, std::uint64_t bytes) {
  constexpr std::uint64_t kKiB = 1024;
  constexpr std::uint64_t kMiB = kKiB * 1024;
  if (bytes < kKiB) {
    AppendAscii(text, std::to_string(bytes));
    text.append(u" 字节");
  } else if (bytes < kMiB) {
    AppendAscii(text, std::to_string(bytes / kKiB) + " KB");
  } else {
    const std::uint64_t tenths = bytes / (kMiB / 10);
    AppendAscii(text, std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB");
  }
}

}  // namespace

std::u16string ProgressCaption(std::u16string_view caption, std::uint64_t received,
                               std::uint64_t total) {
  std::u16string text(caption);
  text.append(u" - 正在读取 ");
  AppendSize(text, received);
  if (total > 0) {
    const std::uint64_t percent = received >= total ? 100 : received * 100 / total;
    text.append(u"（");
    AppendAscii(text, std::to_string(percent) + "%");
    text.append(u"）");
  }
  return text;
}

std::u16string FileFailureMessage(std::u16string_view action, std::u16string_view path,
                                  std::u16string_view reason) {
  std::u16string message(u"无法");
  message.append(action).append(u"文件 ").append(path).append(u"。\r\n\r\n").append(reason);
  return message;
}

}  // namespace veltrin
