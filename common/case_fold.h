// Simple (one unit to one unit) case folding of the Basic Multilingual Plane for the common
// cased scripts: Latin, Greek, Cyrillic, Armenian and the full-width Latin letters.
#pragma once

namespace veltrin {

// Returns the folded (lower-case) form of a code unit, or the unit itself when it has none.
char16_t SimpleFold(char16_t unit) noexcept;

// Returns the next unit with the same folded form; following it from any unit cycles through all
// of its case variants and back to the unit (a unit without variants returns itself).
char16_t NextCaseVariant(char16_t unit) noexcept;

// Returns true when some other unit folds together with this one.
inline bool HasCaseVariants(char16_t unit) noexcept {
  return NextCaseVariant(unit) != unit;
}

}  // namespace veltrin
