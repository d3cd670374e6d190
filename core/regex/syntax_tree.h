// The parsed form of a pattern: a flat array of nodes that refer to each other by index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/regex/char_class.h"

namespace veltrin::regex {

// Zero-width conditions on the position between two code units.
enum class Assertion : uint8_t {
  kTextStart,        // start of the text
  kTextEnd,          // end of the text
  kLineStart,        // start of the text or just after an LF
  kLineEnd,          // end of the text or just before an LF
  kWordBoundary,     // \w on exactly one side
  kNotWordBoundary,  // \w on both sides or on neither
};

enum class NodeKind : uint8_t {
  kEmpty,      // matches the empty string
  kUnit,       // one given code unit
  kClass,      // one code unit of a class
  kAnyButLf,   // any code unit except LF
  kAssert,     // a zero-width assertion
  kCapture,    // a capturing group around one child
  kConcat,     // children in sequence
  kAlternate,  // children as alternatives, earlier ones preferred
  kRepeat,     // one child repeated min..max times
};

constexpr int kUnbounded = -1;

struct Node {
  NodeKind kind = NodeKind::kEmpty;
  size_t position = 0;             // pattern offset where the node starts, for error messages
  char16_t unit = 0;               // kUnit: the unit
  uint32_t class_index = 0;        // kClass: index into SyntaxTree::classes
  Assertion assertion{};           // kAssert: the condition
  uint32_t group = 0;              // kCapture: group number, from 1
  int min = 0;                     // kRepeat: least number of repetitions
  int max = 0;                     // kRepeat: most repetitions, or kUnbounded
  bool greedy = true;              // kRepeat: prefer more repetitions
  std::vector<uint32_t> children;  // kCapture, kConcat, kAlternate, kRepeat: child node indices
};

struct SyntaxTree {
  std::vector<Node> nodes;         // all nodes; children refer to them by index
  std::vector<CharClass> classes;  // sealed classes referred to by kClass nodes
  uint32_t root = 0;               // index of the top node
  uint32_t group_count = 0;        // number of capturing groups, not counting the whole match
};

}  // namespace veltrin::regex
