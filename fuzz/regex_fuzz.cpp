// Fuzzes the regex engine against PCRE2: the input draws a pattern (through the generator of the
// differential test), the flags and a text over the same tiny alphabet; both engines of ours must
// scan the text exactly as PCRE2 does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/regex/regex.h"
#include "tests/core/support/pcre2_reference.h"
#include "tests/core/support/regex_pattern_generator.h"
#include "tests/core/support/regex_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrin;
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  std::size_t at = 1;
  // The pattern takes bytes while it needs choices; the rest is the text. Past the end, the last
  // choice is taken: it never opens a group or another branch, so the pattern ends.
  test::PatternGenerator generator([&](int n) { return at < size ? data[at++] % n : n - 1; });
  const std::u16string pattern = generator.Next();
  std::u16string text;
  for (; at < size; ++at) {
    text += test::kPatternAlphabet[data[at] % std::size(test::kPatternAlphabet)];
  }
  const regex::RegexOptions options{.multi_line = (flags & 1) != 0,
                                    .ignore_case = (flags & 2) != 0};
  const auto expected = test::ScanWithPcre2(pattern, options, text);
  if (!expected) return 0;  // where PCRE2 refuses or gives up, there is nothing to compare
  const regex::Regex re(pattern, options);
  for (regex::Engine engine : {regex::Engine::kPikeVm, regex::Engine::kBest}) {
    const std::string actual = test::Scan(re, text, engine);
    if (actual != expected->matches) {
      std::fprintf(stderr, "pattern %s flags %d text %s\n  ours:  %s\n  PCRE2: %s\n",
                   test::Show(pattern).c_str(), flags & 3, test::Show(text).c_str(), actual.c_str(),
                   expected->matches.c_str());
      std::abort();
    }
  }
  return 0;
}
