// The tokenizer behind the link scan and the <br>-block search.
#include "core/book/html_tags.h"

namespace veltrin::book {

namespace {

char16_t Lower(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool IsNameUnit(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
         (unit >= u'0' && unit <= u'9') || unit == u'-' || unit == u':' || unit == u'_';
}

bool IsSpace(char16_t unit) {
  return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

// Returns the position of "needle" at or after `from`, compared without case (needle lower case).
std::size_t FindNoCase(std::u16string_view text, std::u16string_view needle, std::size_t from) {
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && Lower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::u16string_view::npos;
}

// Returns the position just after the ">" that ends a tag starting at `from`, skipping quoted
// attribute values; npos when the tag never ends.
std::size_t TagEnd(std::u16string_view html, std::size_t from) {
  char16_t quote = 0;
  for (std::size_t i = from; i < html.size(); ++i) {
    const char16_t unit = html[i];
    if (quote != 0) {
      if (unit == quote) quote = 0;
    } else if (unit == u'"' || unit == u'\'') {
      // A quote only opens a value right after "=" (possibly spaced).
      std::size_t k = i;
      while (k > from && IsSpace(html[k - 1])) --k;
      if (k > from && html[k - 1] == u'=') quote = unit;
    } else if (unit == u'>') {
      return i + 1;
    }
  }
  return std::u16string_view::npos;
}

}  // namespace

std::optional<std::u16string> HtmlToken::Attribute(std::u16string_view attribute) const {
  std::size_t i = 0;
  const std::u16string_view inside = text;
  // Skip the tag name.
  while (i < inside.size() && !IsSpace(inside[i]) && inside[i] != u'/') ++i;
  while (i < inside.size()) {
    while (i < inside.size() && (IsSpace(inside[i]) || inside[i] == u'/')) ++i;
    const std::size_t name_start = i;
    while (i < inside.size() && !IsSpace(inside[i]) && inside[i] != u'=' && inside[i] != u'/') ++i;
    std::u16string name(inside.substr(name_start, i - name_start));
    for (char16_t& unit : name) unit = Lower(unit);
    while (i < inside.size() && IsSpace(inside[i])) ++i;
    std::u16string value;
    if (i < inside.size() && inside[i] == u'=') {
      ++i;
      while (i < inside.size() && IsSpace(inside[i])) ++i;
      if (i < inside.size() && (inside[i] == u'"' || inside[i] == u'\'')) {
        const char16_t quote = inside[i++];
        const std::size_t end = inside.find(quote, i);
        const std::size_t stop = end == std::u16string_view::npos ? inside.size() : end;
        value = inside.substr(i, stop - i);
        i = stop + 1;
      } else {
        const std::size_t start = i;
        while (i < inside.size() && !IsSpace(inside[i])) ++i;
        value = inside.substr(start, i - start);
      }
    }
    if (name.empty()) {
      if (i == name_start) ++i;  // a stray character
      continue;
    }
    if (name == attribute) return value;
  }
  return std::nullopt;
}

std::optional<HtmlToken> TagScanner::Next() {
  while (position_ < html_.size()) {
    const std::size_t lt = html_.find(u'<', position_);
    if (lt != position_) {
      HtmlToken token;
      const std::size_t end = lt == std::u16string_view::npos ? html_.size() : lt;
      token.text = html_.substr(position_, end - position_);
      position_ = end;
      return token;
    }
    const std::u16string_view rest = html_.substr(lt);
    if (rest.starts_with(u"<!--")) {
      const std::size_t end = html_.find(u"-->", lt + 4);
      position_ = end == std::u16string_view::npos ? html_.size() : end + 3;
      continue;
    }
    if (rest.starts_with(u"<!") || rest.starts_with(u"<?")) {
      const std::size_t end = html_.find(u'>', lt);
      position_ = end == std::u16string_view::npos ? html_.size() : end + 1;
      continue;
    }
    const bool closing = rest.size() > 1 && rest[1] == u'/';
    const std::size_t name_start = lt + (closing ? 2 : 1);
    std::size_t name_end = name_start;
    while (name_end < html_.size() && IsNameUnit(html_[name_end])) ++name_end;
    const std::size_t end =
        name_end == name_start ? std::u16string_view::npos : TagEnd(html_, name_end);
    if (end == std::u16string_view::npos) {
      // Not a tag: the "<" is text.
      HtmlToken token;
      token.text = html_.substr(lt, 1);
      position_ = lt + 1;
      return token;
    }
    HtmlToken token;
    token.kind = HtmlToken::Kind::kTag;
    token.closing = closing;
    token.name.assign(html_.substr(name_start, name_end - name_start));
    for (char16_t& unit : token.name) unit = Lower(unit);
    token.text = html_.substr(name_start, end - 1 - name_start);
    position_ = end;
    if (!closing &&
        (token.name == u"script" || token.name == u"style" || token.name == u"noscript" ||
         token.name == u"textarea" || token.name == u"template")) {
      SkipRawContent(token.name);
    }
    return token;
  }
  return std::nullopt;
}

void TagScanner::SkipRawContent(std::u16string_view name) {
  const std::u16string closing = u"</" + std::u16string(name);
  const std::size_t end = FindNoCase(html_, closing, position_);
  position_ = end == std::u16string_view::npos ? html_.size() : end;
}

}  // namespace veltrin::book
