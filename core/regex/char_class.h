// A set of UTF-16 code units kept as sorted, disjoint ranges, with a bitmap for the ASCII units
// that dominate real text.
#pragma once

#include <cstdint>
#include <vector>

namespace veltrin::regex {

struct UnitRange {
  char16_t first;  // lowest unit in the range
  char16_t last;   // highest unit in the range, inclusive
};

class CharClass {
 public:
  // Adds the units first..last (first <= last); Contains needs a Seal afterwards.
  void AddRange(char16_t first, char16_t last) { ranges_.push_back({first, last}); }
  void AddUnit(char16_t unit) { AddRange(unit, unit); }
  void AddClass(const CharClass& other);
  // Sorts and merges the ranges and rebuilds the ASCII bitmap; Contains is valid after it.
  void Seal();
  // Adds every case variant of the units already present.
  void CloseOverCase();
  // Replaces the set by its complement over all 65536 units.
  void Negate();

  // Returns whether the unit is in the set.
  bool Contains(char16_t unit) const noexcept {
    if (unit < 128) return (ascii_[unit >> 6] >> (unit & 63)) & 1;
    return ContainsSlow(unit);
  }
  const std::vector<UnitRange>& Ranges() const noexcept { return ranges_; }
  // Returns the number of units in the set.
  uint32_t Size() const noexcept;

  // The predefined classes: \d, \w and \s (ASCII, as the pattern dialect defines them).
  static CharClass Digits();
  static CharClass WordUnits();
  static CharClass Spaces();

 private:
  bool ContainsSlow(char16_t unit) const noexcept;

  std::vector<UnitRange> ranges_;  // sorted by first, disjoint and not adjacent
  uint64_t ascii_[2] = {0, 0};     // membership of units 0..127, rebuilt by Seal
};

}  // namespace veltrin::regex
