// The blocked-word list as the window imports and exports it, and the rule for dropped files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// Splits a text into lines: every CR LF pair, lone LF and lone CR ends a line, and the piece after
// the last break is a line too (empty when the text ends with a break). An empty text is one line.
std::vector<std::u16string> SplitTextLines(std::u16string_view text);

// Returns the items an imported word list replaces the list with: every line in file order, empty
// ones included; nullopt when the text holds no line break at all (the list stays as it was).
std::optional<std::vector<std::u16string>> ImportedWordList(std::u16string_view text);

// Returns the text of an exported word list: every item followed by CR LF.
std::u16string ExportedWordList(const std::vector<std::u16string>& items);

// Returns the first dropped file when its name ends in ".HTML" in any letter case; nullopt when
// there is no file or the first one does not (the later files never count).
std::optional<std::u16string> DroppedHtmlFile(const std::vector<std::u16string>& files);

}  // namespace veltrin
