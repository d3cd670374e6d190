// A forgiving scan of tags: enough HTML to find links, the base and the title of real pages.
#include "core/book/page_links.h"

#include <optional>

#include "core/book/address.h"
#include "core/book/html_tags.h"

namespace veltrin::book {

namespace {

bool IsSpace(char16_t unit) {
  return unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == u'\u3000' || unit == u'\u00A0';
}

// Returns the text with runs of white space made one space and none at either end.
std::u16string Collapsed(std::u16string_view text) {
  std::u16string result;
  bool space = false;
  for (char16_t unit : text) {
    if (IsSpace(unit)) {
      space = !result.empty();
      continue;
    }
    if (space) result += u' ';
    space = false;
    result += unit;
  }
  return result;
}

void AppendCodePoint(char32_t code_point, std::u16string& text) {
  if (code_point == 0 || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point < 0xE000)) {
    code_point = 0xFFFD;
  }
  if (code_point < 0x10000) {
    text += static_cast<char16_t>(code_point);
  } else {
    code_point -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (code_point >> 10));
    text += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
  }
}

// Decodes the numeric reference after "&#" at `text`, returning its length up to and including
// ";", or 0 when it is not one.
std::size_t DecodeNumeric(std::u16string_view text, std::u16string& out) {
  std::size_t i = 0;
  const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
  if (hex) ++i;
  char32_t value = 0;
  const std::size_t digits_start = i;
  for (; i < text.size() && i - digits_start < 8; ++i) {
    const char16_t unit = text[i];
    int digit = -1;
    if (unit >= u'0' && unit <= u'9') digit = unit - u'0';
    if (hex && unit >= u'a' && unit <= u'f') digit = unit - u'a' + 10;
    if (hex && unit >= u'A' && unit <= u'F') digit = unit - u'A' + 10;
    if (digit < 0) break;
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  if (i == digits_start || i >= text.size() || text[i] != u';') return 0;
  AppendCodePoint(value, out);
  return i + 1;
}

}  // namespace

std::u16string DecodeEntities(std::u16string_view text) {
  static constexpr struct {
    std::u16string_view name;
    char16_t unit;
  } kNamed[] = {{u"amp;", u'&'},  {u"lt;", u'<'},    {u"gt;", u'>'},
                {u"quot;", u'"'}, {u"apos;", u'\''}, {u"nbsp;", u' '}};
  std::u16string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      result += text[i];
      continue;
    }
    const std::u16string_view rest = text.substr(i + 1);
    std::size_t used = 0;
    if (rest.starts_with(u'#')) {
      used = DecodeNumeric(rest.substr(1), result);
      if (used > 0) ++used;
    } else {
      for (const auto& entity : kNamed) {
        if (rest.starts_with(entity.name)) {
          result += entity.unit;
          used = entity.name.size();
          break;
        }
      }
    }
    if (used == 0) result += u'&';
    i += used;
  }
  return result;
}

PageLinks ScanPageLinks(std::u16string_view html, std::u16string_view address) {
  PageLinks page;
  std::u16string base(address);
  struct OpenLink {
    std::u16string address;
    std::u16string text;
  };
  std::optional<OpenLink> open;         // the <a> whose text is being collected
  std::optional<std::u16string> title;  // the <title> text being collected
  bool title_done = false;
  auto close_link = [&] {
    if (!open) return;
    if (!open->address.empty()) {
      page.links.push_back({std::move(open->address), Collapsed(DecodeEntities(open->text))});
    }
    open.reset();
  };
  TagScanner scanner(html);
  while (const std::optional<HtmlToken> token = scanner.Next()) {
    if (token->kind == HtmlToken::Kind::kText) {
      if (open) open->text += token->text;
      if (title) *title += token->text;
      continue;
    }
    const std::u16string& name = token->name;
    if (name == u"base" && !token->closing) {
      if (const std::optional<std::u16string> href = token->Attribute(u"href")) {
        const std::u16string resolved = ResolveAddress(address, DecodeEntities(*href));
        if (!resolved.empty()) base = resolved;
      }
    } else if (name == u"a") {
      close_link();  // an unclosed <a> ends at the next one
      if (!token->closing) {
        const std::optional<std::u16string> href = token->Attribute(u"href");
        if (href) open = OpenLink{ResolveAddress(base, DecodeEntities(*href)), {}};
      }
    } else if (name == u"title" && !title_done) {
      if (!token->closing) {
        title.emplace();
      } else if (title) {
        page.title = Collapsed(DecodeEntities(*title));
        title.reset();
        title_done = true;
      }
    }
  }
  close_link();
  return page;
}

}  // namespace veltrin::book
