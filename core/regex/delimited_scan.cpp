// LITERAL .*? TERMINATOR matches at p exactly when LITERAL occurs at p and, scanning on from the
// end of the literal, the terminator comes before any LF. When an LF comes first, no start up to
// that LF can match either (the literal holds no LF), so the search resumes after it: every unit is
// looked at a bounded number of times, whatever the line lengths. The Pike VM gives the same
// answers; regex_test.cpp runs every table row through both.
#include "core/regex/delimited_scan.h"

namespace veltrin::regex {
namespace {

// Returns the first index >= from holding a or b, or text.size().
size_t FindEither(std::u16string_view text, size_t from, char16_t a, char16_t b) noexcept {
  const char16_t* data = text.data();
  const size_t size = text.size();
  size_t i = from;
  // Unrolled by four: this loop is where long lines spend their time.
  for (; i + 4 <= size; i += 4) {
    const char16_t c0 = data[i], c1 = data[i + 1], c2 = data[i + 2], c3 = data[i + 3];
    if (c0 == a || c0 == b) return i;
    if (c1 == a || c1 == b) return i + 1;
    if (c2 == a || c2 == b) return i + 2;
    if (c3 == a || c3 == b) return i + 3;
  }
  for (; i < size; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return size;
}

}  // namespace

std::optional<DelimitedScan> DelimitedScan::FromTree(const SyntaxTree& tree) {
  if (tree.group_count != 0) return std::nullopt;
  const Node& root = tree.nodes[tree.root];
  if (root.kind != NodeKind::kConcat || root.children.size() < 2) return std::nullopt;
  DelimitedScan scan;
  const size_t count = root.children.size();
  for (size_t i = 0; i + 2 < count; ++i) {
    const Node& node = tree.nodes[root.children[i]];
    if (node.kind != NodeKind::kUnit || node.unit == u'\n') return std::nullopt;
    scan.literal_.push_back(node.unit);
  }
  const Node& repeat = tree.nodes[root.children[count - 2]];
  const Node& last = tree.nodes[root.children[count - 1]];
  if (repeat.kind != NodeKind::kRepeat || repeat.min != 0 || repeat.max != kUnbounded ||
      repeat.greedy) {
    return std::nullopt;
  }
  if (tree.nodes[repeat.children[0]].kind != NodeKind::kAnyButLf) return std::nullopt;
  if (last.kind != NodeKind::kUnit || last.unit == u'\n') return std::nullopt;
  scan.terminator_ = last.unit;
  return scan;
}

bool DelimitedScan::Search(std::u16string_view text, size_t start, size_t& begin,
                           size_t& end) const noexcept {
  size_t pos = start;
  while (pos <= text.size()) {
    size_t candidate = pos;
    if (!literal_.empty()) {
      candidate = text.find(literal_, pos);
      if (candidate == std::u16string_view::npos) return false;
    }
    const size_t stop = FindEither(text, candidate + literal_.size(), terminator_, u'\n');
    if (stop == text.size()) return false;  // later starts see no terminator either
    if (text[stop] == terminator_) {
      begin = candidate;
      end = stop + 1;
      return true;
    }
    pos = stop + 1;
  }
  return false;
}

}  // namespace veltrin::regex
