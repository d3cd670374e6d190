// Splitting of blocked-word list files.
#include "cli/word_list.h"

namespace veltrin::cli {

std::vector<std::u16string> SplitWordList(std::u16string_view text) {
  std::vector<std::u16string> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    words.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) words.emplace_back(text.substr(start));
  return words;
}

}  // namespace veltrin::cli
