// The extraction pipeline, streaming. The page is read once: its steps up to the line filter run
// piece by piece in small reused buffers (each fusion is exact; the comments say why), and the
// formatted output goes through replace-all stages that hold back only what a later piece may
// complete. The three tag-stripping expressions are applied by dedicated scanners with the same
// leftmost-first, lazy semantics as the general engine, which would dominate the run time;
// pipeline_reference_test.cpp checks the whole against a literal step-by-step version that uses
// the engine, with the page cut at every awkward place.
#include "core/paragraph_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace veltrin {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::u16string_view kNbsp = u"&nbsp;";
constexpr std::size_t kFlushUnits = std::size_t{1} << 15;  // output gathered before a flush

// The units below 64 that the page normalisation looks at.
constexpr std::uint64_t kSpecialUnits = (std::uint64_t{1} << u'\r') | (std::uint64_t{1} << u'\n') |
                                        (std::uint64_t{1} << u' ') | (std::uint64_t{1} << u';') |
                                        (std::uint64_t{1} << u'<');

bool IsPlain(char16_t unit) {
  return unit >= 64 || ((kSpecialUnits >> unit) & 1) == 0;
}

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

}  // namespace

ParagraphExtractor::ParagraphExtractor(const BlockedWords& words, TextSink& sink)
    : sink_(sink), fresh_from_(0) {
  replacers_.emplace_back(u"\u300B\u300A", u"\u300B\u3001\u300A");
  for (const std::u16string& word : words.Words()) {
    if (!word.empty()) replacers_.emplace_back(word, u"");
  }
  output_.reserve(kFlushUnits + 1024);
}

// Takes one selected piece of the page through the tag stripping, the second normalisation and
// the line filter, handing it to the formatter if it survives. Working piece by piece is exact: the
// pieces joined by CR LF form the text that the three expressions see, and none of their matches
// can cross the LF that separates two pieces. A piece that starts with the LF put in front of
// "<p" contributes an empty line first, which the filter drops.
void ParagraphExtractor::KeepParagraphLine(std::u16string_view piece) {
  if (!piece.empty() && piece.front() == kLf) piece.remove_prefix(1);
  line_.assign(piece);
  line_ += kCr;
  RemoveLazyTags(line_, u'p');
  RemoveLazyTags(line_, u'/');
  RemoveUpToLastClose(line_);
  // Two literal replacements of the text are left out because they cannot change the result:
  // "?/p>" never occurs once no ">" is left, and turning CR LF CR LF into CR LF only ever deletes
  // a line that is a lone CR, which the filter below drops anyway.
  RemoveUnit(line_, u'?');
  RemoveUnit(line_, u' ');
  if (!line_.empty() && line_ != u"\r" && line_.find(u'<') == std::u16string::npos) {
    // The surviving lines go straight to the formatter: the text they would form, each followed
    // by CR LF, splits into exactly these lines plus a last, empty one (added by Finish).
    formatter_.AddLine(line_, output_);
    if (output_.size() >= kFlushUnits) Flush(false);
  }
}

void ParagraphExtractor::EndPiece() {
  if (!piece_.empty() && HoldsParagraphTag(piece_)) KeepParagraphLine(piece_);
  piece_.clear();
  fresh_from_ = 0;
}

// Takes one unit of the normalised page. "&nbsp;" is removed as it completes in the piece, but
// never across an earlier removal, which is exactly one left-to-right pass (the pattern cannot
// overlap itself).
void ParagraphExtractor::Put(char16_t unit) {
  if (unit == kCr) {
    has_break_ = true;
    EndPiece();
    return;
  }
  piece_ += unit;
  if (unit == u';' && piece_.size() - fresh_from_ >= kNbsp.size() &&
      std::u16string_view(piece_).ends_with(kNbsp)) {
    piece_.erase(piece_.size() - kNbsp.size());
    fresh_from_ = piece_.size();
  }
}

void ParagraphExtractor::Feed(std::u16string_view text) {
  // The normalised page is never built: its units are produced one by one (LF becomes CR, CR LF
  // goes in front of every "<p", spaces vanish) and gathered into the current CR-delimited piece.
  // A "<" at the end of a piece waits for the unit that says whether it opens "<p".
  if (text.empty()) return;
  std::size_t i = 0;
  if (pending_lt_) {
    pending_lt_ = false;
    if (text.front() == u'p') {
      Put(kCr);
      Put(kLf);
    }
    Put(u'<');
  }
  const std::size_t n = text.size();
  for (; i < n; ++i) {
    // Units other than CR, LF, space, ";" and "<" (most text, all of Chinese) play no part in the
    // normalisation and cannot complete "&nbsp;": copy runs of them at once.
    std::size_t run_end = i;
    while (run_end < n && IsPlain(text[run_end])) ++run_end;
    if (run_end != i) {
      piece_.append(text.data() + i, run_end - i);
      i = run_end;
      if (i == n) break;
    }
    const char16_t unit = text[i];
    if (unit == u'<') {
      if (i + 1 == n) {
        pending_lt_ = true;
      } else {
        if (text[i + 1] == u'p') {
          Put(kCr);
          Put(kLf);
        }
        Put(unit);
      }
    } else if (unit == kLf) {
      Put(kCr);
    } else if (unit != u' ') {
      Put(unit);
    }
  }
}

bool ParagraphExtractor::Finish() {
  if (pending_lt_) {
    pending_lt_ = false;
    Put(u'<');
  }
  // A normalised page without any break is one piece: the caller keeps its output. One that
  // came out empty (nothing but spaces and "&nbsp;", say) has no pieces and runs on with nothing.
  if (!has_break_ && !piece_.empty()) return false;
  EndPiece();
  if (formatter_.HasLines()) formatter_.AddLine(u"", output_);  // the line after the last CR LF
  // The formatter's last step, deleting ASCII spaces, has nothing left to do: every line lost
  // its spaces on the way in.
  Flush(true);
  return true;
}

void ParagraphExtractor::Flush(bool final) {
  for (StreamReplacer& replacer : replacers_) {
    scratch_.clear();
    replacer.Push(output_, scratch_);
    if (final) replacer.Finish(scratch_);
    output_.swap(scratch_);
  }
  if (!output_.empty()) sink_.Write(output_);
  output_.clear();
}

}  // namespace veltrin
