// Differential test: small patterns drawn by a seeded generator over a tiny alphabet (with LF and a
// lone surrogate) must give, in a global scan, the same matches and groups as PCRE2's 16-bit
// library, under every combination of multi-line and ignore-case.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/regex/regex.h"
#include "tests/core/support/pcre2_reference.h"
#include "tests/core/support/regex_pattern_generator.h"
#include "tests/core/support/regex_scan.h"

namespace veltrin::regex {
namespace {

using test::kPatternAlphabet;
using test::Scan;
using test::Show;

TEST(RegexPcre2Test, GeneratedPatternsAgreeWithPcre2) {
  constexpr int kPatterns = 2500;
  constexpr int kTextsPerPattern = 12;
  std::mt19937 text_random(20240611);
  std::mt19937 pattern_random(7);
  test::PatternGenerator generator(
      [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(pattern_random); });
  int failures = 0;
  int compared = 0;
  for (int p = 0; p < kPatterns && failures < 10; ++p) {
    const std::u16string pattern = generator.Next();
    std::vector<std::u16string> texts;
    for (int t = 0; t < kTextsPerPattern; ++t) {
      std::u16string text(std::uniform_int_distribution<int>(0, 8)(text_random), u'a');
      for (char16_t& c : text) {
        c = kPatternAlphabet[std::uniform_int_distribution<size_t>(
            0, std::size(kPatternAlphabet) - 1)(text_random)];
      }
      texts.push_back(std::move(text));
    }
    for (int flags = 0; flags < 4; ++flags) {
      const RegexOptions options{.multi_line = (flags & 1) != 0, .ignore_case = (flags & 2) != 0};
      const Regex re(pattern, options);
      for (const std::u16string& text : texts) {
        const std::optional<test::Pcre2Scan> expected = test::ScanWithPcre2(pattern, options, text);
        ASSERT_TRUE(expected) << "PCRE2 refused or gave up on " << Show(pattern);
        ASSERT_EQ(re.GroupCount(), expected->groups) << Show(pattern);
        for (Engine engine : {Engine::kPikeVm, Engine::kBest}) {
          const std::string actual = Scan(re, text, engine);
          ++compared;
          if (actual != expected->matches) {
            ++failures;
            ADD_FAILURE() << "pattern " << Show(pattern) << " flags " << flags << " text "
                          << Show(text) << "\n  ours:  " << actual
                          << "\n  PCRE2: " << expected->matches;
            break;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, kPatterns * kTextsPerPattern * 4);
}

}  // namespace
}  // namespace veltrin::regex
