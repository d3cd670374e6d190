// Blocked-word list files as the desktop tool exports them: UTF-8, one word per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrin::cli {

// Splits a word list into its lines: CR LF, LF and CR each end a line. Every line is a word,
// empty ones included (they delete nothing); a final line break does not start another word.
std::vector<std::u16string> SplitWordList(std::u16string_view text);

}  // namespace veltrin::cli
