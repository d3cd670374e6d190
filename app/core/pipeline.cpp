// The extraction pipeline. Each step is one linear pass; most passes compact the text in place, and
// lines are handled as views into one buffer rather than as separate strings, so that a 50 MB page
// costs a handful of allocations. The three tag-stripping expressions are applied by dedicated
// scanners with the same leftmost-first, lazy semantics as the general engine (see
// pipeline_test.cpp, which compares them), because the engine would dominate the run time.
#include "app/core/pipeline.h"

#include <algorithm>
#include <cstring>
#include <exception>

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

// Step 4 up to the space removal, in one pass: LF becomes CR, CR LF goes in front of every "<p",
// and ASCII spaces disappear. Fusing is exact because the three rewrites touch disjoint units and
// "<p" is looked for in the text before spaces are removed, as the sequential order requires.
std::u16string NormalisePage(std::u16string_view page) {
  const std::size_t n = page.size();
  std::size_t tag_count = 0;
  for (std::size_t at = FindText(page, u"<p"); at != std::u16string_view::npos;
       at = FindText(page, u"<p", at + 2)) {
    ++tag_count;
  }
  std::u16string out(n + 2 * tag_count, u'\0');
  char16_t* w = out.data();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t unit = page[i];
    if (unit == u'<' && i + 1 < n && page[i + 1] == u'p') {
      *w++ = kCr;
      *w++ = kLf;
      *w++ = unit;
    } else if (unit == kLf) {
      *w++ = kCr;
    } else if (unit != u' ') {
      *w++ = unit;
    }
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
  return out;
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

std::u16string_view TrimSpaces(std::u16string_view line) {
  const std::size_t first = line.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(u' ') - first + 1);
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

std::u16string FormatParagraphs(std::u16string_view text) {
  // Replacing LF by CR LF and splitting at CR LF yields exactly the LF-delimited lines (with any
  // CR they held), so the lines are read in place.
  std::u16string output;
  output.reserve(text.size() + text.size() / 8 + 8);
  std::u16string line;  // the line as it is rewritten; one buffer for all lines
  bool first_line = true;
  ForEachPiece(text, kLf, [&](std::u16string_view piece) {
    line.assign(piece);
    RemoveUnit(line, kCr);
    line.erase(line.find_last_not_of(u' ') + 1);  // npos + 1 == 0 clears an all-space line

    if (line.empty()) {
      output += kCrLf;
    } else {
      const std::size_t lead = line.find_first_not_of(u" \t");
      line.erase(0, lead == std::u16string::npos ? line.size() : lead);
      if (!line.empty() && line != u"?") {
        RemoveUnit(line, u' ');
        output += line;
        if (IsSentenceFinal(line.back())) {
          output += kCrLf;
          output += kIndent;
        }
      }
    }
    if (first_line) {
      first_line = false;
      if (line.size() > 2 && !line.starts_with(kIndent)) output.insert(0, kIndent);
    }
  });
  ReplaceAll(output, u"\u300B\u300A", u"\u300B\u3001\u300A");
  RemoveUnit(output, u' ');
  return output;
}

std::u16string RemoveBlockedWords(std::u16string_view text, const BlockedWords& words) {
  try {
    std::u16string result(text);
    for (const std::u16string& word : words.Words()) {
      if (!word.empty()) ReplaceAll(result, word, u"");
    }
    return result;
  } catch (const std::exception&) {
    return std::u16string(text);
  }
}

std::optional<std::u16string> ExtractParagraphs(std::u16string_view page_text,
                                                const BlockedWords& words) {
  std::u16string page = NormalisePage(page_text);
  ReplaceAll(page, u"&nbsp;", u"");

  if (!page.empty() && page.find(kCr) == std::u16string::npos) return std::nullopt;

  std::u16string paragraphs;
  ForEachPiece(page, kCr, [&](std::u16string_view piece) {
    if (!piece.empty() && HoldsParagraphTag(piece)) {
      paragraphs += piece;
      paragraphs += kCrLf;
    }
  });
  page = std::u16string();  // the page is no longer needed; give its memory back early

  RemoveLazyTags(paragraphs, u'p');
  RemoveLazyTags(paragraphs, u'/');
  RemoveUpToLastClose(paragraphs);
  ReplaceAll(paragraphs, u"?/p>", u"");
  ReplaceAll(paragraphs, u"\r\n\r\n", kCrLf);
  RemoveUnit(paragraphs, u'?');

  // Replacing LF by CR LF and splitting at CR LF gives the LF-delimited lines; the CR each line
  // kept is then part of it, which the line filter relies on.
  RemoveUnit(paragraphs, u' ');
  std::u16string kept;
  kept.reserve(paragraphs.size());
  ForEachPiece(paragraphs, kLf, [&](std::u16string_view line) {
    if (!TrimSpaces(line).empty() && line != u"\r" && line.find(u'<') == std::u16string_view::npos) {
      kept += line;
      kept += kCrLf;
    }
  });
  paragraphs = std::u16string();

  return RemoveBlockedWords(FormatParagraphs(kept), words);
}

}  // namespace veltrin
