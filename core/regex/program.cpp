// Helpers of the compiled program: assertions and the start-of-match prefilter.
#include "core/regex/program.h"

namespace veltrin::regex {
namespace {

bool IsWordUnit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         c == u'_';
}

}  // namespace

bool AssertionHolds(Assertion assertion, std::u16string_view text, size_t at) noexcept {
  switch (assertion) {
    case Assertion::kTextStart:
      return at == 0;
    case Assertion::kTextEnd:
      return at == text.size();
    case Assertion::kLineStart:
      return at == 0 || text[at - 1] == u'\n';
    case Assertion::kLineEnd:
      return at == text.size() || text[at] == u'\n';
    case Assertion::kWordBoundary:
    case Assertion::kNotWordBoundary: {
      const bool before = at > 0 && IsWordUnit(text[at - 1]);
      const bool after = at < text.size() && IsWordUnit(text[at]);
      return (before != after) == (assertion == Assertion::kWordBoundary);
    }
  }
  return false;
}

void Prefilter::SetFirstUnits(const CharClass& set) {
  first_units_.assign(0x10000 / 64, 0);
  for (const UnitRange& range : set.Ranges()) {
    for (uint32_t c = range.first; c <= range.last; ++c)
      first_units_[c >> 6] |= uint64_t(1) << (c & 63);
  }
}

size_t Prefilter::Next(std::u16string_view text, size_t from) const noexcept {
  if (from > text.size()) return std::u16string_view::npos;
  if (!prefix_.empty()) return text.find(prefix_, from);
  if (first_units_.empty()) return from;
  const uint64_t* bits = first_units_.data();
  for (size_t i = from; i < text.size(); ++i) {
    const char16_t c = text[i];
    if ((bits[c >> 6] >> (c & 63)) & 1) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace veltrin::regex
