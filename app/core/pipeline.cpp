// The extraction pipeline. The page is read once: its steps up to the line filter run piece by
// piece in small reused buffers (each fusion is exact; the comments say why), so that a 50 MB page
// costs a handful of allocations and no intermediate copy of the page. The three tag-stripping
// expressions are applied by dedicated scanners with the same leftmost-first, lazy semantics as
// the general engine, which would dominate the run time; pipeline_reference_test.cpp checks the
// whole against a literal step-by-step version that uses the engine.
#include "app/core/pipeline.h"

#include <algorithm>
#include <cstring>

#include "app/core/text_ops.h"

namespace veltrin {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::u16string_view kIndent = u"\u3000\u3000";

bool IsSentenceFinal(char16_t unit) {
  return unit == u'\u3002' || unit == u'\uFF1F' || unit == u'\uFF01' || unit == u'\u2026' ||
         unit == u'\u2014';
}

// Removes every occurrence of one code unit in place.
void RemoveUnit(std::u16string& text, char16_t unit) {
  text.erase(std::remove(text.begin(), text.end(), unit), text.end());
}

bool HoldsParagraphTag(std::u16string_view piece) {
  for (std::size_t at = piece.find(u'<'); at != std::u16string_view::npos;
       at = piece.find(u'<', at + 1)) {
    if (at + 1 < piece.size() && piece[at + 1] == u'p') return true;
    if (at + 2 < piece.size() && piece[at + 1] == u'/' && piece[at + 2] == u'p') return true;
  }
  return false;
}

// Applies the expression "<" second ".*?>" with an empty replacement: from each "<" second, up to
// and including the first ">" on the same LF-delimited line. A failed attempt records where its
// line ends, so later attempts on that line are skipped and the pass stays linear.
void RemoveLazyTags(std::u16string& text, char16_t second) {
  const std::size_t n = text.size();
  char16_t* const s = text.data();
  std::size_t write = 0;
  std::size_t no_close_before = 0;  // no ">" lies in [attempt, no_close_before) on its line
  std::size_t read = 0;
  while (read < n) {
    if (s[read] == u'<' && read + 1 < n && s[read + 1] == second && read >= no_close_before) {
      std::size_t j = read + 2;
      while (j < n && s[j] != u'>' && s[j] != kLf) ++j;
      if (j < n && s[j] == u'>') {
        read = j + 1;
        continue;
      }
      no_close_before = j;
    }
    s[write++] = s[read++];
  }
  text.resize(write);
}

// Applies the expression ".*?>" with an empty replacement: successive lazy matches eat each
// LF-delimited line up to and including its last ">".
void RemoveUpToLastClose(std::u16string& text) {
  const std::size_t n = text.size();
  char16_t* const s = text.data();
  std::size_t write = 0;
  std::size_t line_start = 0;
  while (line_start <= n) {
    std::size_t line_end = line_start;
    std::size_t keep_from = line_start;
    while (line_end < n && s[line_end] != kLf) {
      if (s[line_end] == u'>') keep_from = line_end + 1;
      ++line_end;
    }
    const std::size_t keep = line_end - keep_from;
    std::memmove(s + write, s + keep_from, keep * sizeof(char16_t));
    write += keep;
    if (line_end == n) break;
    s[write++] = kLf;
    line_start = line_end + 1;
  }
  text.resize(write);
}

// Calls `visit` with every piece of `text` split at `separator` (one unit), keeping empty pieces;
// an empty text has no pieces.
template <typename Visit>
void ForEachPiece(std::u16string_view text, char16_t separator, Visit visit) {
  if (text.empty()) return;
  std::size_t start = 0;
  while (true) {
    const std::size_t hit = text.find(separator, start);
    if (hit == std::u16string_view::npos) {
      visit(text.substr(start));
      return;
    }
    visit(text.substr(start, hit - start));
    start = hit + 1;
  }
}

}  // namespace

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

namespace {

// The paragraph formatter, fed one line at a time so that the pipeline can hand it lines without
// first joining them into a text.
class ParagraphFormatter {
 public:
  explicit ParagraphFormatter(std::size_t expected_size) { output_.reserve(expected_size); }

  // Takes the next line (without its LF; any CR in it is dropped).
  void AddLine(std::u16string_view piece) {
    line_.assign(piece);
    RemoveUnit(line_, kCr);
    line_.erase(line_.find_last_not_of(u' ') + 1);  // npos + 1 == 0 clears an all-space line

    if (line_.empty()) {
      output_ += kCrLf;
    } else {
      const std::size_t lead = line_.find_first_not_of(u" \t");
      line_.erase(0, lead == std::u16string::npos ? line_.size() : lead);
      if (!line_.empty() && line_ != u"?") {
        RemoveUnit(line_, u' ');
        output_ += line_;
        if (IsSentenceFinal(line_.back())) {
          output_ += kCrLf;
          output_ += kIndent;
        }
      }
    }
    if (first_line_) {
      // Only the first line, as rewritten above, decides the opening indent.
      first_line_ = false;
      if (line_.size() > 2 && !line_.starts_with(kIndent)) output_.insert(0, kIndent);
    }
  }

  // Returns whether any line has been added.
  bool HasLines() const noexcept { return !first_line_; }

  // Returns the formatted text; the formatter is spent.
  std::u16string Finish() {
    ReplaceAll(output_, u"\u300B\u300A", u"\u300B\u3001\u300A");
    RemoveUnit(output_, u' ');
    return std::move(output_);
  }

 private:
  std::u16string output_;   // the text so far
  std::u16string line_;     // the line being rewritten; one buffer for all lines
  bool first_line_ = true;  // whether no line has been added yet
};

}  // namespace

std::u16string FormatParagraphs(std::u16string_view text) {
  // Replacing LF by CR LF and splitting at CR LF yields exactly the LF-delimited lines (with any
  // CR they held), so the lines are read in place. Each line's own break makes room for all but
  // 2 of the 4 units that may follow it.
  ParagraphFormatter formatter(
      text.size() + 2 * static_cast<std::size_t>(std::count(text.begin(), text.end(), kLf)) + 8);
  ForEachPiece(text, kLf, [&](std::u16string_view line) { formatter.AddLine(line); });
  return formatter.Finish();
}

namespace {

// Removes the words in place. Removal shrinks the text where it stands and allocates nothing, so
// there is no failure after which the input would have to come back unchanged.
void RemoveWordsInPlace(std::u16string& text, const BlockedWords& words) {
  for (const std::u16string& word : words.Words()) {
    if (!word.empty()) ReplaceAll(text, word, u"");
  }
}

}  // namespace

std::u16string RemoveBlockedWords(std::u16string_view text, const BlockedWords& words) {
  std::u16string result(text);
  RemoveWordsInPlace(result, words);
  return result;
}

namespace {

// Takes one selected piece of the page through the tag stripping, the second normalisation and
// the line filter, handing it to the formatter if it survives. Working piece by piece is exact: the
// pieces joined by CR LF form the text that the three expressions see, and none of their matches
// can cross the LF that separates two pieces. A piece that starts with the LF put in front of
// "<p" contributes an empty line first, which the filter drops.
void KeepParagraphLine(std::u16string_view piece, std::u16string& line, ParagraphFormatter& kept) {
  if (!piece.empty() && piece.front() == kLf) piece.remove_prefix(1);
  line.assign(piece);
  line += kCr;
  RemoveLazyTags(line, u'p');
  RemoveLazyTags(line, u'/');
  RemoveUpToLastClose(line);
  // Two literal replacements of the text are left out because they cannot change the result:
  // "?/p>" never occurs once no ">" is left, and turning CR LF CR LF into CR LF only ever deletes
  // a line that is a lone CR, which the filter below drops anyway.
  RemoveUnit(line, u'?');
  RemoveUnit(line, u' ');
  if (!line.empty() && line != u"\r" && line.find(u'<') == std::u16string::npos) kept.AddLine(line);
}

}  // namespace

std::optional<std::u16string> ExtractParagraphs(std::u16string_view page_text,
                                                const BlockedWords& words) {
  // The normalised page is never built: its units are produced one by one (LF becomes CR, CR LF
  // goes in front of every "<p", spaces vanish) and gathered into the current CR-delimited piece.
  // "&nbsp;" is removed as it completes in the piece, but never across an earlier removal, which
  // is exactly one left-to-right pass (the pattern cannot overlap itself).
  constexpr std::u16string_view kNbsp = u"&nbsp;";
  std::u16string piece;
  std::size_t fresh_from = 0;  // units of `piece` before this index came before a removal
  std::u16string line;         // scratch for KeepParagraphLine
  // The surviving lines go straight to the formatter: the text they would form, each followed by
  // CR LF, splits into exactly these lines plus a last, empty one.
  // The result is rarely longer than the page; the reservation is address space until it is used.
  ParagraphFormatter kept(page_text.size() + 64);
  bool has_break = false;

  auto end_piece = [&] {
    if (!piece.empty() && HoldsParagraphTag(piece)) KeepParagraphLine(piece, line, kept);
    piece.clear();
    fresh_from = 0;
  };
  auto put = [&](char16_t unit) {
    if (unit == kCr) {
      has_break = true;
      end_piece();
      return;
    }
    piece += unit;
    if (unit == u';' && piece.size() - fresh_from >= kNbsp.size() &&
        std::u16string_view(piece).ends_with(kNbsp)) {
      piece.erase(piece.size() - kNbsp.size());
      fresh_from = piece.size();
    }
  };

  const std::size_t n = page_text.size();
  for (std::size_t i = 0; i < n; ++i) {
    // Units above "<" (most text, all of Chinese) play no part in the normalisation and cannot
    // complete "&nbsp;": copy runs of them at once.
    std::size_t run_end = i;
    while (run_end < n && page_text[run_end] > u'<') ++run_end;
    if (run_end != i) {
      piece.append(page_text.data() + i, run_end - i);
      i = run_end;
      if (i == n) break;
    }
    const char16_t unit = page_text[i];
    if (unit == u'<' && i + 1 < n && page_text[i + 1] == u'p') {
      put(kCr);
      put(kLf);
      put(unit);
    } else if (unit == kLf) {
      put(kCr);
    } else if (unit != u' ') {
      put(unit);
    }
  }
  // A normalised page without any break is one piece: the caller keeps its output. One that
  // came out empty (nothing but spaces and "&nbsp;", say) has no pieces and runs on with nothing.
  if (!has_break && !piece.empty()) return std::nullopt;
  end_piece();

  if (kept.HasLines()) kept.AddLine(u"");  // the empty line after the last CR LF
  std::u16string text = kept.Finish();
  RemoveWordsInPlace(text, words);
  return text;
}

}  // namespace veltrin
