// The charset table and the three places `--charset auto` looks: the Content-Type header, a
// byte-order mark and a meta declaration.
#include "core/charset.h"

#include <algorithm>
#include <cctype>

#include "core/utf8.h"

namespace veltrin {

namespace {

struct Alias {
  std::string_view key;  // lower case, without "-", "_" and spaces
  Charset charset;
};

using Kind = Charset::Kind;
constexpr Charset kUtf8{Kind::kUtf8, "UTF-8", "", 65001};
constexpr Charset kGbk{Kind::kPlatform, "GBK", "GBK", 936};
constexpr Charset kGb18030{Kind::kPlatform, "GB18030", "GB18030", 54936};
constexpr Charset kBig5{Kind::kPlatform, "Big5", "BIG5", 950};
constexpr Charset kShiftJis{Kind::kPlatform, "Shift_JIS", "SHIFT_JIS", 932};
constexpr Charset kEucJp{Kind::kPlatform, "EUC-JP", "EUC-JP", 20932};
constexpr Charset kEucKr{Kind::kPlatform, "EUC-KR", "CP949", 949};
constexpr Charset kWindows1252{Kind::kPlatform, "windows-1252", "CP1252", 1252};
constexpr Charset kUtf16Le{Kind::kUtf16LittleEndian, "UTF-16LE", "", 1200};
constexpr Charset kUtf16Be{Kind::kUtf16BigEndian, "UTF-16BE", "", 1201};

constexpr Alias kAliases[] = {
    {"utf8", kUtf8},
    {"unicode11utf8", kUtf8},
    {"gbk", kGbk},
    {"gb2312", kGbk},
    {"xgbk", kGbk},
    {"cp936", kGbk},
    {"windows936", kGbk},
    {"gb18030", kGb18030},
    {"big5", kBig5},
    {"big5hkscs", kBig5},
    {"cp950", kBig5},
    {"shiftjis", kShiftJis},
    {"sjis", kShiftJis},
    {"windows31j", kShiftJis},
    {"cp932", kShiftJis},
    {"eucjp", kEucJp},
    {"euckr", kEucKr},
    {"cp949", kEucKr},
    {"windows1252", kWindows1252},
    {"cp1252", kWindows1252},
    {"iso88591", kWindows1252},
    {"latin1", kWindows1252},
    {"usascii", kWindows1252},
    {"ascii", kWindows1252},
    {"utf16le", kUtf16Le},
    {"utf16", kUtf16Le},
    {"utf16be", kUtf16Be},
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Returns the value of the first "charset=" parameter in `text` (quoted or not), or nullopt.
std::optional<std::string_view> CharsetParameter(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  for (std::size_t at = lower.find("charset"); at != std::string::npos;
       at = lower.find("charset", at + 1)) {
    std::size_t i = at + 7;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size() || text[i] != '=') continue;
    ++i;
    while (i < text.size() && IsSpace(text[i])) ++i;
    char quote = 0;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'')) quote = text[i++];
    std::size_t end = i;
    while (end < text.size() &&
           (quote ? text[end] != quote
                  : !IsSpace(text[end]) && text[end] != ';' && text[end] != '"' &&
                        text[end] != '\'' && text[end] != '>' && text[end] != '/')) {
      ++end;
    }
    return text.substr(i, end - i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Charset> FindCharset(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c != '-' && c != '_' && !IsSpace(c)) key += Lower(c);
  }
  for (const Alias& alias : kAliases) {
    if (alias.key == key) return alias.charset;
  }
  return std::nullopt;
}

std::optional<Charset> CharsetFromContentType(std::string_view content_type) {
  const std::optional<std::string_view> value = CharsetParameter(content_type);
  return value ? FindCharset(*value) : std::nullopt;
}

std::optional<std::pair<Charset, std::size_t>> CharsetFromByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::pair{kUtf8, std::size_t{3}};
  if (bytes.starts_with("\xFF\xFE")) return std::pair{kUtf16Le, std::size_t{2}};
  if (bytes.starts_with("\xFE\xFF")) return std::pair{kUtf16Be, std::size_t{2}};
  return std::nullopt;
}

std::optional<Charset> CharsetFromMetaDeclaration(std::string_view head) {
  head = head.substr(0, 1024);
  std::string lower(head);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  for (std::size_t at = lower.find("<meta"); at != std::string::npos;
       at = lower.find("<meta", at + 1)) {
    const std::size_t end = lower.find('>', at);
    const std::string_view tag =
        head.substr(at, end == std::string::npos ? std::string_view::npos : end - at);
    if (const std::optional<std::string_view> value = CharsetParameter(tag)) {
      // A declaration of UTF-16 in a page that was read as bytes is a mistake: the page is
      // ASCII-compatible, or the meta tag could not have been read.
      std::optional<Charset> charset = FindCharset(*value);
      if (charset && charset->kind != Charset::Kind::kPlatform && charset->kind != Kind::kUtf8) {
        return kUtf8;
      }
      return charset;
    }
  }
  return std::nullopt;
}

bool LooksLikeUtf8(std::string_view bytes) {
  std::u16string units;
  const std::size_t decoded = DecodeUtf8Prefix(bytes, false, units);
  // Each ill-formed subpart decodes as U+FFFD, so any U+FFFD counts as ill-formed: a real one in
  // a page is rare, and the page is then still read as it declares.
  const bool ascii = units.size() == decoded;
  return !ascii && bytes.size() - decoded < 4 &&
         std::find(units.begin(), units.end(), u'\uFFFD') == units.end();
}

}  // namespace veltrin
