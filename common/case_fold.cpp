// Simple case folding: a handful of range rules that cover the cased BMP scripts, plus a table of
// case-variant cycles built once from them so that a class can be closed over case.
#include "common/case_fold.h"

#include <cstdint>
#include <vector>

namespace veltrin {
namespace {

// Pairs laid out as upper, lower, upper, lower... starting at an even (or odd) unit.
bool InPairRun(char32_t c, char32_t first, char32_t last) {
  return c >= first && c <= last && ((c - first) % 2 == 0);
}

char32_t Fold(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0x3BC;  // micro sign folds to Greek mu
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
  }
  if (c < 0x180) {
    if (InPairRun(c, 0x100, 0x12E) || InPairRun(c, 0x132, 0x136) || InPairRun(c, 0x14A, 0x176))
      return c + 1;
    if (InPairRun(c, 0x139, 0x147) || InPairRun(c, 0x179, 0x17D)) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c == 0x17F) return 's';
    return c;
  }
  if (c >= 0x370 && c < 0x400) {
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 32;
    switch (c) {
      case 0x3C2:
        return 0x3C3;  // final sigma
      case 0x3D0:
        return 0x3B2;
      case 0x3D1:
        return 0x3B8;
      case 0x3D5:
        return 0x3C6;
      case 0x3D6:
        return 0x3C0;
      case 0x3F0:
        return 0x3BA;
      case 0x3F1:
        return 0x3C1;
      case 0x3F5:
        return 0x3B5;
      default:
        return c;
    }
  }
  if (c >= 0x400 && c < 0x530) {
    if (c <= 0x40F) return c + 80;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (InPairRun(c, 0x460, 0x480) || InPairRun(c, 0x48A, 0x4BE) || InPairRun(c, 0x4D0, 0x52E))
      return c + 1;
    if (c == 0x4C0) return 0x4CF;
    if (InPairRun(c, 0x4C1, 0x4CD)) return c + 1;
    return c;
  }
  if (c >= 0x531 && c <= 0x556) return c + 48;  // Armenian
  if (InPairRun(c, 0x1E00, 0x1E94) || InPairRun(c, 0x1EA0, 0x1EFE)) return c + 1;
  switch (c) {
    case 0x1E9E:
      return 0xDF;  // capital sharp s
    case 0x2126:
      return 0x3C9;  // ohm sign
    case 0x212A:
      return 'k';  // kelvin sign
    case 0x212B:
      return 0xE5;  // angstrom sign
    default:
      break;
  }
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

// next[c] links the units that fold together into a cycle.
const std::vector<char16_t>& VariantCycles() {
  static const std::vector<char16_t> next = [] {
    std::vector<char16_t> table(0x10000);
    for (uint32_t c = 0; c < 0x10000; ++c) table[c] = static_cast<char16_t>(c);
    for (uint32_t c = 0; c < 0x10000; ++c) {
      const auto target = static_cast<char16_t>(Fold(c));
      if (target == c) continue;
      table[c] = table[target];
      table[target] = static_cast<char16_t>(c);
    }
    return table;
  }();
  return next;
}

}  // namespace

char16_t SimpleFold(char16_t unit) noexcept {
  return static_cast<char16_t>(Fold(unit));
}

char16_t NextCaseVariant(char16_t unit) noexcept {
  return VariantCycles()[unit];
}

}  // namespace veltrin
