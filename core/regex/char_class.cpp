// A set of UTF-16 code units kept as sorted, disjoint ranges.
#include "core/regex/char_class.h"

#include <algorithm>

#include "common/case_fold.h"

namespace veltrin::regex {

void CharClass::AddClass(const CharClass& other) {
  ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
}

void CharClass::CloseOverCase() {
  Seal();
  std::vector<UnitRange> added;
  for (const UnitRange& range : ranges_) {
    for (uint32_t c = range.first; c <= range.last; ++c) {
      const auto unit = static_cast<char16_t>(c);
      for (char16_t v = NextCaseVariant(unit); v != unit; v = NextCaseVariant(v))
        added.push_back({v, v});
    }
  }
  ranges_.insert(ranges_.end(), added.begin(), added.end());
  Seal();
}

void CharClass::Negate() {
  Seal();
  std::vector<UnitRange> complement;
  uint32_t next = 0;
  for (const UnitRange& range : ranges_) {
    if (range.first > next) complement.push_back({char16_t(next), char16_t(range.first - 1)});
    next = uint32_t(range.last) + 1;
  }
  if (next <= 0xFFFF) complement.push_back({char16_t(next), char16_t(0xFFFF)});
  ranges_ = std::move(complement);
  Seal();
}

uint32_t CharClass::Size() const noexcept {
  uint32_t size = 0;
  for (const UnitRange& range : ranges_) size += uint32_t(range.last) - range.first + 1;
  return size;
}

void CharClass::Seal() {
  std::sort(ranges_.begin(), ranges_.end(),
            [](const UnitRange& a, const UnitRange& b) { return a.first < b.first; });
  std::vector<UnitRange> merged;
  for (const UnitRange& range : ranges_) {
    if (!merged.empty() && uint32_t(range.first) <= uint32_t(merged.back().last) + 1) {
      merged.back().last = std::max(merged.back().last, range.last);
    } else {
      merged.push_back(range);
    }
  }
  ranges_ = std::move(merged);
  ascii_[0] = ascii_[1] = 0;
  for (const UnitRange& range : ranges_) {
    for (uint32_t c = range.first; c <= range.last && c < 128; ++c)
      ascii_[c >> 6] |= uint64_t(1) << (c & 63);
  }
}

bool CharClass::ContainsSlow(char16_t unit) const noexcept {
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), unit,
                             [](char16_t u, const UnitRange& r) { return u < r.first; });
  return it != ranges_.begin() && unit <= (it - 1)->last;
}

CharClass CharClass::Digits() {
  CharClass set;
  set.AddRange(u'0', u'9');
  set.Seal();
  return set;
}

CharClass CharClass::WordUnits() {
  CharClass set;
  set.ranges_ = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
  set.Seal();
  return set;
}

CharClass CharClass::Spaces() {
  CharClass set;
  set.ranges_ = {{u'\t', u'\r'}, {u' ', u' '}};
  set.Seal();
  return set;
}

}  // namespace veltrin::regex
