// The main window's dialog and message texts.
#pragma once

#include <cstdint>
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

// The Extract button's caption while a page is read: clicking it then cancels.
inline constexpr char16_t kCancelCaption[] = u"取消";

// Returns the window caption while a page is read: "<caption> - 正在读取 1.5 MB" and, when the
// total is known, "（37%）" after it. Sizes under 1 KB are in bytes, under 1 MB in whole KB.
std::u16string ProgressCaption(std::u16string_view caption, std::uint64_t received,
                               std::uint64_t total);

// Returns the message of a failed export or import: "无法<action>文件 <path>。" CR LF CR LF and the
// reason (the error's description).
std::u16string FileFailureMessage(std::u16string_view action, std::u16string_view path,
                                  std::u16string_view reason);

}  // namespace veltrin
