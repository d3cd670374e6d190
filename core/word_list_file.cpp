// Word-list line rules and the dropped-file rule of the main window.
#include "core/word_list_file.h"

#include "common/utf16.h"

namespace veltrin {

std::vector<std::u16string> SplitTextLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<std::vector<std::u16string>> ImportedWordList(std::u16string_view text) {
  std::vector<std::u16string> lines = SplitTextLines(text);
  if (lines.size() == 1) return std::nullopt;
  return lines;
}

std::u16string ExportedWordList(const std::vector<std::u16string>& items) {
  std::u16string text;
  for (const std::u16string& item : items) {
    text += item;
    text += u"\r\n";
  }
  return text;
}

std::optional<std::u16string> DroppedHtmlFile(const std::vector<std::u16string>& files) {
  constexpr std::u16string_view kExtension = u".HTML";
  if (files.empty()) return std::nullopt;
  const std::u16string& first = files.front();
  if (first.size() < kExtension.size()) return std::nullopt;
  if (!EqualsIgnoreCase(std::u16string_view(first).substr(first.size() - kExtension.size()),
                        kExtension)) {
    return std::nullopt;
  }
  return first;
}

}  // namespace veltrin
