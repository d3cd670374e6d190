// Naming of the result files of --output-dir.
#include "cli/output_names.h"

#include <set>
#include <string_view>

#include "core/pipeline.h"

namespace veltrin::cli {

namespace {

char16_t LowerAscii(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

std::u16string LowerAscii(std::u16string text) {
  for (char16_t& unit : text) unit = LowerAscii(unit);
  return text;
}

bool IsWindowsDeviceName(const std::u16string& base) {
  const std::u16string lower = LowerAscii(base);
  if (lower == u"con" || lower == u"prn" || lower == u"aux" || lower == u"nul") return true;
  return lower.size() == 4 && (lower.starts_with(u"com") || lower.starts_with(u"lpt")) &&
         lower[3] >= u'1' && lower[3] <= u'9';
}

// Returns the last non-empty segment of an address's path, else its host.
std::u16string_view AddressSegment(std::u16string_view address) {
  address.remove_prefix(address.find(u"//") + 2);
  address = address.substr(0, address.find_first_of(u"?#"));
  const std::size_t slash = address.find(u'/');
  const std::u16string_view host = address.substr(0, slash);
  std::u16string_view path = slash == std::u16string_view::npos ? u"" : address.substr(slash);
  while (!path.empty() && path.back() == u'/') path.remove_suffix(1);
  const std::u16string_view segment = path.substr(path.rfind(u'/') + 1);
  return segment.empty() ? host : segment;
}

}  // namespace

std::u16string ResultFileName(const std::u16string& source) {
  std::u16string_view name;
  if (source == u"-") {
    name = u"stdin";
  } else if (IsWebAddress(source)) {
    name = AddressSegment(source);
  } else {
    name = source;
    name.remove_prefix(name.find_last_of(u"/\\") + 1);  // npos + 1 == 0 keeps the whole
  }
  if (const std::size_t dot = name.rfind(u'.'); dot != std::u16string_view::npos && dot > 0) {
    name = name.substr(0, dot);
  }
  std::u16string base(name);
  for (char16_t& unit : base) {
    if (unit < 0x20 ||
        std::u16string_view(u"<>:\"/\\|?*").find(unit) != std::u16string_view::npos) {
      unit = u'_';
    }
  }
  // A name that is all dots, or ends in a dot or space, is not kept as written by Windows.
  while (!base.empty() && (base.back() == u'.' || base.back() == u' ')) base.back() = u'_';
  if (base.empty()) base = u"page";
  if (IsWindowsDeviceName(base)) base += u'_';
  return base + u".txt";
}

std::vector<std::u16string> UniqueResultFileNames(const std::vector<std::u16string>& sources) {
  std::vector<std::u16string> names;
  std::set<std::u16string> taken;  // lower-cased
  for (const std::u16string& source : sources) {
    const std::u16string natural = ResultFileName(source);
    const std::u16string stem = natural.substr(0, natural.size() - 4);  // without ".txt"
    std::u16string name = natural;
    for (int copy = 2; taken.count(LowerAscii(name)) != 0; ++copy) {
      const std::string number = std::to_string(copy);
      name = stem + u'-' + std::u16string(number.begin(), number.end()) + u".txt";
    }
    taken.insert(LowerAscii(name));
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace veltrin::cli
