// The pattern generator.
#include "tests/core/support/regex_pattern_generator.h"

#include <iterator>

namespace veltrin::test {

std::u16string PatternGenerator::Next() {
  groups_ = 0;
  return Alternation(3).text;
}

PatternGenerator::Fragment PatternGenerator::Atom() {
  static const char16_t* const kClasses[] = {u"[ab]", u"[^a]", u"[a-b]", u"[^\\n]", u"\\w",
                                             u"\\W",  u"\\s",  u"\\d",   u"[A_]",   u"[^\xD800]"};
  switch (Pick(6)) {
    case 0:
    case 1:
    case 2:
      return {std::u16string(1, kPatternAlphabet[Pick(std::size(kPatternAlphabet))]), false, true};
    case 3:
      return {u".", false, true};
    case 4:
      return {kClasses[Pick(std::size(kClasses))], false, true};
    default: {
      static const char16_t* const kAssertions[] = {u"^", u"$", u"\\b", u"\\B"};
      return {kAssertions[Pick(4)], true, false};
    }
  }
}

PatternGenerator::Fragment PatternGenerator::Item(int depth) {
  Fragment item;
  if (depth > 0 && Pick(4) == 0) {
    const bool capture = groups_ < 4 && Pick(2) == 0;
    if (capture) ++groups_;
    Fragment inner = Alternation(depth - 1);
    item = {(capture ? u"(" : u"(?:") + inner.text + u")", inner.nullable, true};
  } else {
    item = Atom();
  }
  if (item.repeatable && !item.nullable && Pick(3) == 0) {
    static const char16_t* const kQuantifiers[] = {u"*",     u"+",     u"?",   u"{2}",
                                                   u"{1,2}", u"{0,2}", u"{2,}"};
    const int q = Pick(std::size(kQuantifiers));
    item.text += kQuantifiers[q];
    if (Pick(2) == 0) item.text += u'?';
    item.nullable = q == 0 || q == 2 || q == 5;
  }
  return item;
}

PatternGenerator::Fragment PatternGenerator::Concat(int depth) {
  Fragment all{u"", true, true};
  const int count = 1 + Pick(3);
  for (int i = 0; i < count; ++i) {
    Fragment item = Item(depth);
    all.text += item.text;
    all.nullable = all.nullable && item.nullable;
  }
  return all;
}

PatternGenerator::Fragment PatternGenerator::Alternation(int depth) {
  Fragment all = Concat(depth);
  while (Pick(4) == 0) {
    Fragment branch = Concat(depth);
    all.text += u"|" + branch.text;
    all.nullable = all.nullable || branch.nullable;
  }
  return all;
}

}  // namespace veltrin::test
