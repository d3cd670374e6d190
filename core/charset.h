// The charsets pages are decoded from, and how the automatic choice finds a page's one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

// A charset a page can be decoded from. UTF-8 and UTF-16 are decoded by our own code; the others
// by the platform's converter, named for iconv and by Windows code page.
struct Charset {
  enum class Kind { kUtf8, kUtf16LittleEndian, kUtf16BigEndian, kPlatform };
  Kind kind = Kind::kUtf8;
  std::string_view name = "UTF-8";  // the canonical name, for messages
  std::string_view iconv_name;      // the name iconv knows it by (platform kinds)
  unsigned code_page = 65001;       // the Windows code page (platform kinds)

  friend bool operator==(const Charset& a, const Charset& b) { return a.name == b.name; }
};

// Returns the charset a name stands for, or nullopt for an unknown name. Letters are compared
// without case, and "-", "_" and spaces are ignored ("gb2312" and "x-gbk" are GBK, "latin1" is
// windows-1252 as browsers read it).
std::optional<Charset> FindCharset(std::string_view name);

// Returns the charset named by the charset parameter of a Content-Type value, or nullopt when
// there is none or it is unknown.
std::optional<Charset> CharsetFromContentType(std::string_view content_type);

// Returns the charset a byte-order mark at the start of the bytes names, and the mark's length.
std::optional<std::pair<Charset, std::size_t>> CharsetFromByteOrderMark(std::string_view bytes);

// Returns the charset that a <meta charset=...> or <meta http-equiv="Content-Type"
// content="...; charset=..."> in the first 1024 bytes declares, or nullopt when none does or it
// is unknown.
std::optional<Charset> CharsetFromMetaDeclaration(std::string_view head);

// Returns true when the bytes hold a non-ASCII character and are well-formed UTF-8 throughout
// (a sequence cut off at their end allowed): a page that looks like this is UTF-8, whatever it
// declares.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace veltrin
