// A forgiving HTML tokenizer: text runs and tags, with comments, declarations and the content of
// script, style, noscript, textarea and template elements skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::book {

struct HtmlToken {
  enum class Kind { kText, kTag };
  Kind kind = Kind::kText;
  std::u16string_view text;  // the text run (kText), or the inside of the tag (kTag)
  std::u16string name;       // the tag name in lower case (kTag)
  bool closing = false;      // "</name>"

  // Returns the value of the attribute (name in lower case; quotes removed, entities not decoded),
  // or nullopt when the tag has none.
  std::optional<std::u16string> Attribute(std::u16string_view attribute) const;
};

class TagScanner {
 public:
  // `html` must outlive the scanner and its tokens.
  explicit TagScanner(std::u16string_view html) : html_(html) {}

  // Returns the next token, or nullopt at the end. A "<" that starts no tag is text.
  std::optional<HtmlToken> Next();

 private:
  // Skips up to the end of the element whose raw content starts at position_.
  void SkipRawContent(std::u16string_view name);

  std::u16string_view html_;  // the page
  std::size_t position_ = 0;  // where the next token starts
};

}  // namespace veltrin::book
