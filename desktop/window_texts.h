// The main window's dialog and message texts.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

inline constexpr char16_t kImportTitle[] = u"导入";
inline constexpr char16_t kExportTitle[] = u"导出";
inline constexpr char16_t kHtmlFilter[] = u"超文本标记语言文件(*.html)|*.html";
inline constexpr char16_t kTextFilter[] = u"文本文件(*.txt)|*.txt";
// The caption of the overwrite question and of the done message.
inline constexpr char16_t kExportFileCaption[] = u"导出文件";

// Returns the question asked before a file is replaced: "文件 <title> 已存在。" CR LF
// "要覆盖它吗？".
std::u16string OverwriteQuestion(std::u16string_view file_title);

// Returns the message shown after an export: "已导出 <title>。".
std::u16string ExportDoneMessage(std::u16string_view file_title);

}  // namespace veltrin
