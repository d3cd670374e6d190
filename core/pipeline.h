// The paragraph extraction pipeline: from a page's HTML source to clean, indented paragraph text
// with the blocked words deleted. All comparisons are exact, code unit by code unit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// The words deleted from every result. Starts never sized (no elements at all).
class BlockedWords {
 public:
  // Resizes the array to one empty element, then stores item i at index i, growing it one by one;
  // so an empty list leaves one empty element and otherwise the array equals the items.
  void Rebuild(const std::vector<std::u16string>& list_items);

  // Returns the words, index 0 first.
  const std::vector<std::u16string>& Words() const noexcept { return words_; }

 private:
  std::vector<std::u16string> words_;  // index 0 first; empty elements are skipped on removal
};

// Returns true when the text is longer than 6 units and starts with "http://" or "https://"
// (case-sensitive: an upper-case scheme is a local path).
bool IsWebAddress(std::u16string_view text);

// Replaces every match of a multi-line, case-sensitive regular expression by the replacement, in
// which the escapes \n\r, \r\n, \n, \r, \s, \t, \f and \v are first translated to their characters.
// Returns the input unchanged when nothing matches. Throws RegexError for a bad pattern.
std::u16string RegexReplace(std::u16string_view input, std::u16string_view pattern,
                            std::u16string_view replacement);

// Re-flows lines into paragraphs: joins lines until one ends with a sentence-final mark, indents
// each paragraph with two ideographic spaces, drops blank-by-tabs and "?" lines, keeps blank lines
// as CR LF and separates adjacent book titles. An empty text gives an empty result.
std::u16string FormatParagraphs(std::u16string_view text);

// Deletes every occurrence of each non-empty word, in array order, each removal seeing the result
// of the previous ones. Never fails (removal works in place and allocates nothing).
std::u16string RemoveBlockedWords(std::u16string_view text, const BlockedWords& words);

// Runs the pipeline from the normalisation of the page text to the removal of blocked words.
// Returns nullopt when the page text is non-empty and holds no line break even after a break is
// put before every "<p": the caller then keeps its output as it was.
std::optional<std::u16string> ExtractParagraphs(std::u16string_view page_text,
                                                const BlockedWords& words);

}  // namespace veltrin
