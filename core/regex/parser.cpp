// Recursive-descent parser for the pattern dialect. Recursion follows the nesting of groups in the
// pattern (bounded by kMaxNesting), never the length of the searched text.
#include "core/regex/parser.h"

#include <optional>

#include "common/case_fold.h"
#include "core/regex/regex_error.h"

namespace veltrin::regex {
namespace {

constexpr int kMaxNesting = 250;       // deepest group nesting accepted
constexpr int kMaxRepeatCount = 1000;  // largest bound in {n,m}

Node MakeNode(NodeKind kind, size_t position) {
  Node node;
  node.kind = kind;
  node.position = position;
  return node;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// One item of a class or an escape: either a single unit or a predefined set.
struct ClassItem {
  bool is_set = false;  // true for \d \w \s and their negations
  char16_t unit = 0;    // the unit when !is_set
  CharClass set;        // the set when is_set
};

class Parser {
 public:
  Parser(std::u16string_view pattern, const RegexOptions& options)
      : pattern_(pattern), options_(options) {}

  SyntaxTree Run() {
    tree_.root = ParseAlternation(0);
    if (pos_ < pattern_.size()) throw RegexError("unmatched closing parenthesis", pos_);
    return std::move(tree_);
  }

 private:
  bool AtEnd() const { return pos_ >= pattern_.size(); }
  char16_t Peek() const { return pattern_[pos_]; }

  uint32_t Add(Node node) {
    tree_.nodes.push_back(std::move(node));
    return static_cast<uint32_t>(tree_.nodes.size() - 1);
  }

  uint32_t AddClassNode(CharClass set, size_t position) {
    set.Seal();
    tree_.classes.push_back(std::move(set));
    Node node = MakeNode(NodeKind::kClass, position);
    node.class_index = static_cast<uint32_t>(tree_.classes.size() - 1);
    return Add(std::move(node));
  }

  // A literal unit; under ignore-case a unit with case variants becomes a class of them.
  uint32_t AddLiteral(char16_t unit, size_t position) {
    if (options_.ignore_case && HasCaseVariants(unit)) {
      CharClass set;
      set.AddUnit(unit);
      set.CloseOverCase();
      return AddClassNode(std::move(set), position);
    }
    Node node = MakeNode(NodeKind::kUnit, position);
    node.unit = unit;
    return Add(std::move(node));
  }

  uint32_t ParseAlternation(int depth) {
    if (depth > kMaxNesting) throw RegexError("groups nested too deeply", pos_);
    const size_t start = pos_;
    std::vector<uint32_t> branches{ParseConcat(depth)};
    while (!AtEnd() && Peek() == u'|') {
      ++pos_;
      branches.push_back(ParseConcat(depth));
    }
    if (branches.size() == 1) return branches[0];
    Node node = MakeNode(NodeKind::kAlternate, start);
    node.children = std::move(branches);
    return Add(std::move(node));
  }

  uint32_t ParseConcat(int depth) {
    const size_t start = pos_;
    std::vector<uint32_t> items;
    while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
      const size_t atom_pos = pos_;
      if (Peek() == u'*' || Peek() == u'+' || Peek() == u'?' || CountAhead()) {
        throw RegexError("quantifier has nothing to repeat", atom_pos);
      }
      uint32_t atom = ParseAtom(depth);
      if (!AtEnd() && (Peek() == u'*' || Peek() == u'+' || Peek() == u'?' || CountAhead())) {
        if (tree_.nodes[atom].kind == NodeKind::kAssert) {
          throw RegexError("an assertion cannot be repeated", pos_);
        }
        atom = ParseQuantifier(atom, atom_pos);
      }
      items.push_back(atom);
    }
    if (items.empty()) return Add(MakeNode(NodeKind::kEmpty, start));
    if (items.size() == 1) return items[0];
    Node node = MakeNode(NodeKind::kConcat, start);
    node.children = std::move(items);
    return Add(std::move(node));
  }

  // Reads {n}, {n,} or {n,m} at pos_ without consuming it; anything else is not a count.
  std::optional<std::pair<int, int>> ReadCount(size_t* end) const {
    size_t p = pos_;
    if (p >= pattern_.size() || pattern_[p] != u'{') return std::nullopt;
    ++p;
    auto read_number = [&](int* value) {
      const size_t first = p;
      long long number = 0;
      while (p < pattern_.size() && IsDigit(pattern_[p])) {
        number = std::min<long long>(number * 10 + (pattern_[p] - u'0'), 1LL << 40);
        ++p;
      }
      *value = static_cast<int>(std::min<long long>(number, kMaxRepeatCount + 1));
      return p > first;
    };
    int min = 0;
    if (!read_number(&min)) return std::nullopt;
    int max = min;
    if (p < pattern_.size() && pattern_[p] == u',') {
      ++p;
      if (!read_number(&max)) max = kUnbounded;
    }
    if (p >= pattern_.size() || pattern_[p] != u'}') return std::nullopt;
    *end = p + 1;
    return std::make_pair(min, max);
  }

  bool CountAhead() const {
    size_t end = 0;
    return ReadCount(&end).has_value();
  }

  uint32_t ParseQuantifier(uint32_t atom, size_t atom_pos) {
    const size_t quantifier_pos = pos_;
    int min = 0;
    int max = kUnbounded;
    switch (Peek()) {
      case u'*':
        ++pos_;
        break;
      case u'+':
        min = 1;
        ++pos_;
        break;
      case u'?':
        max = 1;
        ++pos_;
        break;
      default: {
        size_t end = 0;
        const auto count = ReadCount(&end);
        min = count->first;
        max = count->second;
        if (min > kMaxRepeatCount || max > kMaxRepeatCount) {
          throw RegexError("repetition count above 1000", quantifier_pos);
        }
        if (max != kUnbounded && min > max)
          throw RegexError("repetition bounds out of order", quantifier_pos);
        pos_ = end;
      }
    }
    bool greedy = true;
    if (!AtEnd() && Peek() == u'?') {
      greedy = false;
      ++pos_;
    }
    Node node = MakeNode(NodeKind::kRepeat, atom_pos);
    node.min = min;
    node.max = max;
    node.greedy = greedy;
    node.children = {atom};
    return Add(std::move(node));
  }

  uint32_t ParseAtom(int depth) {
    const size_t start = pos_;
    const char16_t c = pattern_[pos_++];
    switch (c) {
      case u'(':
        return ParseGroup(start, depth);
      case u'[':
        return ParseClass(start);
      case u'.':
        return Add(MakeNode(NodeKind::kAnyButLf, start));
      case u'^':
        return AddAssert(options_.multi_line ? Assertion::kLineStart : Assertion::kTextStart,
                         start);
      case u'$':
        return AddAssert(options_.multi_line ? Assertion::kLineEnd : Assertion::kTextEnd, start);
      case u'\\':
        return ParseEscapeAtom(start);
      default:
        return AddLiteral(c, start);
    }
  }

  uint32_t AddAssert(Assertion assertion, size_t position) {
    Node node = MakeNode(NodeKind::kAssert, position);
    node.assertion = assertion;
    return Add(std::move(node));
  }

  uint32_t ParseGroup(size_t start, int depth) {
    uint32_t group = 0;
    if (!AtEnd() && Peek() == u'?') {
      const char16_t kind = pos_ + 1 < pattern_.size() ? pattern_[pos_ + 1] : u'\0';
      if (kind == u':') {
        pos_ += 2;
      } else if (kind == u'=' || kind == u'!' ||
                 (kind == u'<' && pos_ + 2 < pattern_.size() &&
                  (pattern_[pos_ + 2] == u'=' || pattern_[pos_ + 2] == u'!'))) {
        throw RegexError("lookaround is not supported", start);
      } else {
        throw RegexError("unsupported group syntax", start);
      }
    } else {
      group = ++tree_.group_count;
    }
    const uint32_t body = ParseAlternation(depth + 1);
    if (AtEnd() || Peek() != u')') throw RegexError("missing closing parenthesis", start);
    ++pos_;
    if (group == 0) return body;
    Node node = MakeNode(NodeKind::kCapture, start);
    node.group = group;
    node.children = {body};
    return Add(std::move(node));
  }

  uint32_t ParseEscapeAtom(size_t start) {
    if (AtEnd()) throw RegexError("pattern ends with a backslash", start);
    switch (Peek()) {
      case u'b':
        ++pos_;
        return AddAssert(Assertion::kWordBoundary, start);
      case u'B':
        ++pos_;
        return AddAssert(Assertion::kNotWordBoundary, start);
      case u'A':
        ++pos_;
        return AddAssert(Assertion::kTextStart, start);
      case u'z':
        ++pos_;
        return AddAssert(Assertion::kTextEnd, start);
      default:
        break;
    }
    ClassItem item = ParseEscape(start, /*in_class=*/false);
    if (item.is_set) return AddClassNode(std::move(item.set), start);
    return AddLiteral(item.unit, start);
  }

  // Parses the escape after a backslash at `start` (pos_ is just past the backslash).
  ClassItem ParseEscape(size_t start, bool in_class) {
    if (AtEnd()) throw RegexError("pattern ends with a backslash", start);
    const char16_t c = pattern_[pos_++];
    ClassItem item;
    auto unit = [&](char16_t u) {
      item.unit = u;
      return item;
    };
    auto set = [&](CharClass s, bool negate) {
      if (negate) s.Negate();
      item.is_set = true;
      item.set = std::move(s);
      return item;
    };
    switch (c) {
      case u'n':
        return unit(u'\n');
      case u'r':
        return unit(u'\r');
      case u't':
        return unit(u'\t');
      case u'f':
        return unit(u'\f');
      case u'v':
        return unit(u'\v');
      case u'a':
        return unit(u'\a');
      case u'e':
        return unit(u'\x1B');
      case u'b':  // only reached inside a class, where it means backspace
        return unit(u'\b');
      case u'0': {
        int value = 0;
        for (int i = 0; i < 2 && !AtEnd() && Peek() >= u'0' && Peek() <= u'7'; ++i)
          value = value * 8 + (pattern_[pos_++] - u'0');
        return unit(static_cast<char16_t>(value));
      }
      case u'x':
        return unit(ReadHex(2, start));
      case u'u':
        return unit(ReadHex(4, start));
      case u'c': {
        if (AtEnd()) throw RegexError("\\c must be followed by a letter", start);
        const char16_t letter = Peek();
        if (!((letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z'))) {
          throw RegexError("\\c must be followed by a letter", start);
        }
        ++pos_;
        return unit(static_cast<char16_t>(letter % 32));
      }
      case u'd':
        return set(CharClass::Digits(), false);
      case u'D':
        return set(CharClass::Digits(), true);
      case u'w':
        return set(CharClass::WordUnits(), false);
      case u'W':
        return set(CharClass::WordUnits(), true);
      case u's':
        return set(CharClass::Spaces(), false);
      case u'S':
        return set(CharClass::Spaces(), true);
      default:
        break;
    }
    if (c >= u'1' && c <= u'9') throw RegexError("back-references are not supported", start);
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || IsDigit(c)) {
      throw RegexError(in_class ? "unknown escape in class" : "unknown escape", start);
    }
    return unit(c);  // an escaped metacharacter or punctuation stands for itself
  }

  char16_t ReadHex(int digits, size_t start) {
    int value = 0;
    for (int i = 0; i < digits; ++i) {
      const int digit = AtEnd() ? -1 : HexValue(Peek());
      if (digit < 0)
        throw RegexError("escape needs " + std::to_string(digits) + " hex digits", start);
      value = value * 16 + digit;
      ++pos_;
    }
    return static_cast<char16_t>(value);
  }

  uint32_t ParseClass(size_t start) {
    bool negated = false;
    if (!AtEnd() && Peek() == u'^') {
      negated = true;
      ++pos_;
    }
    CharClass literals;  // units and ranges: closed over case under ignore-case
    CharClass sets;      // \d \w \s and friends: taken as they are
    bool first = true;
    while (true) {
      if (AtEnd()) throw RegexError("missing closing bracket of class", start);
      if (Peek() == u']' && !first) {
        ++pos_;
        break;
      }
      first = false;
      const size_t item_pos = pos_;
      ClassItem low = ParseClassItem();
      const bool range = pos_ + 1 < pattern_.size() && Peek() == u'-' && pattern_[pos_ + 1] != u']';
      if (!range) {
        if (low.is_set)
          sets.AddClass(low.set);
        else
          literals.AddUnit(low.unit);
        continue;
      }
      ++pos_;  // the '-'
      ClassItem high = ParseClassItem();
      if (low.is_set || high.is_set) throw RegexError("class range with a class escape", item_pos);
      if (low.unit > high.unit) throw RegexError("class range out of order", item_pos);
      literals.AddRange(low.unit, high.unit);
    }
    if (options_.ignore_case) literals.CloseOverCase();
    literals.AddClass(sets);
    if (negated) literals.Negate();
    return AddClassNode(std::move(literals), start);
  }

  ClassItem ParseClassItem() {
    const size_t item_pos = pos_;
    const char16_t c = pattern_[pos_++];
    if (c == u'\\') return ParseEscape(item_pos, /*in_class=*/true);
    ClassItem item;
    item.unit = c;
    return item;
  }

  std::u16string_view pattern_;  // the pattern being parsed
  RegexOptions options_;         // flags that change how atoms are read
  size_t pos_ = 0;               // next unit to read
  SyntaxTree tree_;              // the result under construction
};

}  // namespace

SyntaxTree ParsePattern(std::u16string_view pattern, const RegexOptions& options) {
  return Parser(pattern, options).Run();
}

}  // namespace veltrin::regex
