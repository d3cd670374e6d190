// The extraction pipeline on whole texts, as the window uses it; the work is done by the
// streaming extractor (paragraph_stream.cpp), fed the whole page as one piece.
#include "core/pipeline.h"

#include <algorithm>

#include "core/paragraph_formatter.h"
#include "core/paragraph_stream.h"
#include "core/text_ops.h"

namespace veltrin {

void BlockedWords::Rebuild(const std::vector<std::u16string>& list_items) {
  words_.assign(1, std::u16string());
  for (std::size_t i = 0; i < list_items.size(); ++i) {
    words_.resize(i + 1);
    words_[i] = list_items[i];
  }
}

bool IsWebAddress(std::u16string_view text) {
  return text.size() > 6 && (text.starts_with(u"http://") || text.starts_with(u"https://"));
}

std::u16string FormatParagraphs(std::u16string_view text) {
  // Replacing LF by CR LF and splitting at CR LF yields exactly the LF-delimited lines (with any
  // CR they held), so the lines are read in place. Each line's own break makes room for all but
  // 2 of the 4 units that may follow it.
  std::u16string output;
  output.reserve(text.size() +
                 2 * static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n')) + 8);
  ParagraphFormatter formatter;
  if (!text.empty()) {
    std::size_t start = 0;
    for (std::size_t hit = text.find(u'\n'); hit != std::u16string_view::npos;
         hit = text.find(u'\n', start)) {
      formatter.AddLine(text.substr(start, hit - start), output);
      start = hit + 1;
    }
    formatter.AddLine(text.substr(start), output);
  }
  ReplaceAll(output, u"\u300B\u300A", u"\u300B\u3001\u300A");
  output.erase(std::remove(output.begin(), output.end(), u' '), output.end());
  return output;
}

std::u16string RemoveBlockedWords(std::u16string_view text, const BlockedWords& words) {
  // Removal shrinks the text where it stands and allocates nothing, so there is no failure after
  // which the input would have to come back unchanged.
  std::u16string result(text);
  for (const std::u16string& word : words.Words()) {
    if (!word.empty()) ReplaceAll(result, word, u"");
  }
  return result;
}

namespace {

// Gathers the result into one text.
class TextCollector : public TextSink {
 public:
  explicit TextCollector(std::size_t expected_size) { text_.reserve(expected_size); }
  void Write(std::u16string_view text) override { text_ += text; }
  std::u16string Take() { return std::move(text_); }

 private:
  std::u16string text_;  // the result so far
};

}  // namespace

std::optional<std::u16string> ExtractParagraphs(std::u16string_view page_text,
                                                const BlockedWords& words) {
  // The result is rarely longer than the page; the reservation is address space until it is used.
  TextCollector result(page_text.size() + 64);
  ParagraphExtractor extractor(words, result);
  extractor.Feed(page_text);
  if (!extractor.Finish()) return std::nullopt;
  return result.Take();
}

}  // namespace veltrin
