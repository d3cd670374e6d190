// Link resolution for web addresses and local paths.
#include "core/book/address.h"

#include <vector>

#include "core/pipeline.h"
#include "core/utf8.h"

namespace veltrin::book {

namespace {

char16_t Lower(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != prefix[i]) return false;
  }
  return true;
}

std::u16string_view Trimmed(std::u16string_view text) {
  auto space = [](char16_t unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

// Returns the length of "scheme:" at the start of a reference, or 0 when it has none.
std::size_t SchemeLength(std::u16string_view reference) {
  for (std::size_t i = 0; i < reference.size(); ++i) {
    const char16_t unit = reference[i];
    if (unit == u':') return i > 0 ? i + 1 : 0;
    const bool letter = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
    const bool other =
        (unit >= u'0' && unit <= u'9') || unit == u'+' || unit == u'-' || unit == u'.';
    if (!letter && !(i > 0 && other)) return 0;
  }
  return 0;
}

// Removes "." and ".." segments from a path whose segments are split by `separator`, keeping a
// leading separator and a trailing one.
std::u16string RemoveDotSegments(std::u16string_view path, char16_t separator) {
  std::vector<std::u16string_view> segments;
  std::size_t start = 0;
  const bool rooted = !path.empty() && path.front() == separator;
  if (rooted) start = 1;
  bool trailing = false;
  while (start <= path.size()) {
    std::size_t end = path.find(separator, start);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view segment = path.substr(start, end - start);
    trailing = end == path.size() && (segment == u"." || segment == u"..");
    if (segment == u"..") {
      if (!segments.empty()) segments.pop_back();
    } else if (segment != u".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::u16string result = rooted ? std::u16string(1, separator) : std::u16string();
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result += separator;
    result += segments[i];
  }
  if (trailing && !result.empty() && result.back() != separator) result += separator;
  return result;
}

int HexValue(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

// Decodes %XX escapes as UTF-8 bytes, for a reference that names a local file.
std::u16string PercentDecoded(std::u16string_view text) {
  if (text.find(u'%') == std::u16string_view::npos) return std::u16string(text);
  std::u16string result;
  std::string bytes;
  auto flush = [&] {
    if (bytes.empty()) return;
    result += Utf8BytesToText(bytes);
    bytes.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
      continue;
    }
    flush();
    result += text[i];
  }
  flush();
  return result;
}

std::u16string ResolveLocal(std::u16string_view base, std::u16string_view reference) {
  const std::size_t query = reference.find(u'?');
  if (query != std::u16string_view::npos) reference = reference.substr(0, query);
  if (reference.empty()) return std::u16string(base);
  const bool backslashes = base.find(u'\\') != std::u16string_view::npos;
  const char16_t separator = backslashes ? u'\\' : u'/';
  std::u16string relative = PercentDecoded(reference);
  if (backslashes) {
    for (char16_t& unit : relative) {
      if (unit == u'/') unit = u'\\';
    }
  }
  // A rooted reference in a saved site means the site's root, which is unknown: take it against
  // the page's folder like a relative one.
  while (!relative.empty() && relative.front() == separator) relative.erase(0, 1);
  std::u16string_view folder = AddressFolder(base);
  std::size_t prefix = 0;  // the drive ("C:") is not a segment
  if (folder.size() >= 2 && folder[1] == u':') prefix = 2;
  std::u16string joined(folder.substr(prefix));
  joined += relative;
  return std::u16string(folder.substr(0, prefix)) + RemoveDotSegments(joined, separator);
}

std::u16string ResolveWeb(std::u16string_view base, std::u16string_view reference) {
  const std::size_t scheme_end = base.find(u"://");
  const std::size_t authority_end = base.find_first_of(u"/?#", scheme_end + 3);
  const std::u16string_view origin = base.substr(0, authority_end);  // "http://host"
  std::u16string_view base_path =
      authority_end == std::u16string_view::npos ? u"/" : base.substr(authority_end);
  base_path = base_path.substr(0, base_path.find_first_of(u"?#"));
  if (base_path.empty() || base_path.front() != u'/') base_path = u"/";

  if (reference.starts_with(u"//")) {
    return std::u16string(base.substr(0, scheme_end + 1)) + std::u16string(reference);
  }
  std::u16string path;
  std::u16string_view query;
  const std::size_t query_start = reference.find(u'?');
  std::u16string_view reference_path = reference.substr(0, query_start);
  if (query_start != std::u16string_view::npos) query = reference.substr(query_start);
  if (reference_path.empty()) {
    path = base_path;  // "?page=2": the same page with another query
  } else if (reference_path.front() == u'/') {
    path = reference_path;
  } else {
    path = std::u16string(base_path.substr(0, base_path.rfind(u'/') + 1));
    path += reference_path;
  }
  return std::u16string(origin) + RemoveDotSegments(path, u'/') + std::u16string(query);
}

// Returns the web address with its scheme and host in lower case, so that one page is one text.
std::u16string Normalised(std::u16string_view address) {
  std::u16string result(address);
  const std::size_t authority_end = result.find_first_of(u"/?#", result.find(u"://") + 3);
  for (std::size_t i = 0; i < std::min(authority_end, result.size()); ++i) {
    result[i] = Lower(result[i]);
  }
  if (authority_end == std::u16string::npos) result += u'/';
  return result;
}

}  // namespace

std::u16string ResolveAddress(std::u16string_view base, std::u16string_view reference) {
  reference = Trimmed(reference);
  reference = reference.substr(0, reference.find(u'#'));
  if (const std::size_t scheme = SchemeLength(reference); scheme > 0) {
    if (!StartsWithNoCase(reference, u"http://") && !StartsWithNoCase(reference, u"https://")) {
      // "C:\book\1.html" in a saved page is a drive, not a scheme.
      const bool drive =
          scheme == 2 && reference.size() > 2 && (reference[2] == u'\\' || reference[2] == u'/');
      return drive ? std::u16string(reference) : std::u16string();
    }
    return Normalised(reference);
  }
  if (reference.empty()) return {};
  if (IsWebAddress(base)) return Normalised(ResolveWeb(base, reference));
  return ResolveLocal(base, reference);
}

std::u16string AddressHost(std::u16string_view address) {
  if (!IsWebAddress(address)) return {};
  const std::size_t start = address.find(u"://") + 3;
  const std::size_t end = address.find_first_of(u"/?#", start);
  std::u16string host(address.substr(start, end == std::u16string_view::npos ? end : end - start));
  for (char16_t& unit : host) unit = Lower(unit);
  return host;
}

std::u16string_view AddressFolder(std::u16string_view address) {
  address = address.substr(0, address.find(u'?'));
  const std::size_t last = address.find_last_of(IsWebAddress(address) ? u"/" : u"/\\");
  return last == std::u16string_view::npos ? std::u16string_view() : address.substr(0, last + 1);
}

}  // namespace veltrin::book
