// The extraction pipeline over a page that arrives in pieces: memory is bounded by the longest
// line of the page, not by the page, and the result leaves in pieces as soon as it is settled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/paragraph_formatter.h"
#include "core/pipeline.h"
#include "core/stream_replacer.h"

namespace veltrin {

// Receives the result text, piece by piece, in order.
class TextSink {
 public:
  virtual ~TextSink() = default;
  // Takes the next piece of the result; may throw, which ends the extraction.
  virtual void Write(std::u16string_view text) = 0;
};

// Gives, piece by piece, exactly what ExtractParagraphs gives for the joined page.
class ParagraphExtractor {
 public:
  // `words` is copied; `sink` must outlive the extractor.
  ParagraphExtractor(const BlockedWords& words, TextSink& sink);

  // Takes the next piece of the page text; pieces may be cut anywhere.
  void Feed(std::u16string_view page_piece);

  // Ends the page and writes the rest of the result. Returns false, having written nothing at
  // all, when the page is non-empty and holds no line break even after a break is put before
  // every "<p" (where ExtractParagraphs gives nullopt).
  bool Finish();

 private:
  void Put(char16_t unit);
  void EndPiece();
  void KeepParagraphLine(std::u16string_view piece);
  // Takes the formatted output through the title separation and the word removals to the sink.
  void Flush(bool final);

  TextSink& sink_;
  std::vector<StreamReplacer> replacers_;  // "》《" first, then each non-empty blocked word
  ParagraphFormatter formatter_;           // turns the surviving lines into paragraphs
  std::u16string piece_;                   // the current CR-delimited piece of the normalised page
  std::size_t fresh_from_;   // units of piece_ before this index came before a "&nbsp;" removal
  std::u16string line_;      // scratch for one selected piece
  std::u16string output_;    // formatted output not yet flushed
  std::u16string scratch_;   // the other buffer of each replacement stage
  bool has_break_ = false;   // whether the normalised page holds a CR so far
  bool pending_lt_ = false;  // the previous piece ended with "<": it depends on the next unit
};

}  // namespace veltrin
