// The <br>-block fallback: a page's text runs are grouped into blocks that only <br> and inline
// tags separate; the block with the most text wins.
#include "core/book/page_content.h"

#include "core/book/html_tags.h"

namespace veltrin::book {

namespace {

// Tags that do not end a block: they style text inside a line.
bool IsInline(const std::u16string& name) {
  static constexpr std::u16string_view kInline[] = {
      u"b",    u"i",     u"u",   u"s",    u"em",  u"strong", u"span",
      u"font", u"small", u"big", u"sub",  u"sup", u"mark",   u"q",
      u"cite", u"abbr",  u"wbr", u"ruby", u"rt",  u"rp",     u"tt"};
  for (std::u16string_view tag : kInline) {
    if (name == tag) return true;
  }
  return false;
}

bool IsSpace(char16_t unit) {
  return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

// Returns the line without its line breaks and with no white space at either end.
std::u16string CleanLine(std::u16string_view text) {
  std::u16string line;
  for (char16_t unit : text) {
    if (unit != u'\r' && unit != u'\n') line += unit;
  }
  std::size_t start = 0;
  while (start < line.size() && IsSpace(line[start])) ++start;
  std::size_t end = line.size();
  while (end > start && IsSpace(line[end - 1])) --end;
  return line.substr(start, end - start);
}

// Counts what a line holds apart from spaces and "&nbsp;".
std::size_t TextWeight(std::u16string_view line) {
  std::size_t weight = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line.substr(i).starts_with(u"&nbsp;")) {
      i += 5;
    } else if (!IsSpace(line[i]) && line[i] != u'\u3000') {
      ++weight;
    }
  }
  return weight;
}

}  // namespace

std::vector<std::u16string> LargestBreakBlock(std::u16string_view html) {
  std::vector<std::u16string> best;
  std::size_t best_weight = 0;
  std::vector<std::u16string> block;
  std::size_t weight = 0;
  std::u16string line;
  int link_depth = 0;
  auto end_line = [&] {
    std::u16string clean = CleanLine(line);
    line.clear();
    const std::size_t line_weight = TextWeight(clean);
    if (line_weight == 0) return;
    weight += line_weight;
    block.push_back(std::move(clean));
  };
  auto end_block = [&] {
    end_line();
    if (block.size() >= 2 && weight > best_weight) {
      best = std::move(block);
      best_weight = weight;
    }
    block.clear();
    weight = 0;
  };
  TagScanner scanner(html);
  while (const std::optional<HtmlToken> token = scanner.Next()) {
    if (token->kind == HtmlToken::Kind::kText) {
      if (link_depth == 0) line += token->text;
    } else if (token->name == u"br") {
      end_line();
    } else if (token->name == u"a") {
      // Links are navigation, not text; they end the block around them.
      end_block();
      link_depth = token->closing ? 0 : 1;
    } else if (!IsInline(token->name)) {
      end_block();
    }
  }
  end_block();
  return best;
}

bool HoldsText(std::u16string_view result) {
  for (char16_t unit : result) {
    if (unit != u'\r' && unit != u'\n' && unit != u'\u3000') return true;
  }
  return false;
}

std::optional<std::u16string> ExtractPageText(std::u16string_view html, const BlockedWords& words,
                                              ContentRule rule) {
  std::optional<std::u16string> text = ExtractParagraphs(html, words);
  if (rule == ContentRule::kParagraphs || (text && HoldsText(*text))) return text;
  const std::vector<std::u16string> lines = LargestBreakBlock(html);
  if (lines.empty()) return text;
  // Each line becomes a paragraph element, so that it goes through exactly the steps a
  // paragraph of the page would.
  std::u16string page;
  for (const std::u16string& line : lines) {
    page += u"<p>";
    page += line;
    page += u"</p>\n";
  }
  return ExtractParagraphs(page, words);
}

}  // namespace veltrin::book
