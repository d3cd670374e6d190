// Differential test: small patterns drawn by a seeded generator over a tiny alphabet (with LF and a
// lone surrogate) must give, in a global scan, the same matches and groups as PCRE2's 16-bit
// library, under every combination of multi-line and ignore-case.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/core/regex/regex.h"
#include "tests/core/support/regex_scan.h"

namespace veltrin::regex {
namespace {

using test::Scan;
using test::Show;
using test::SpanText;

// Units that patterns and texts are made of.
constexpr char16_t kAlphabet[] = {u'a', u'b', u'A', u'\n', u'_', char16_t(0xD800)};

struct Fragment {
  std::u16string text;     // pattern source
  bool nullable = false;   // can match the empty string
  bool repeatable = true;  // may take a quantifier
};

// Draws patterns. Quantifiers never apply to something that can match empty: there the
// backtracking dialects disagree among themselves about empty iterations.
class PatternGenerator {
 public:
  explicit PatternGenerator(uint32_t seed) : random_(seed) {}

  std::u16string Next() {
    groups_ = 0;
    return Alternation(3).text;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  Fragment Atom() {
    static const char16_t* const kClasses[] = {u"[ab]", u"[^a]", u"[a-b]", u"[^\\n]", u"\\w",
                                               u"\\W",  u"\\s",  u"\\d",   u"[A_]",   u"[^\xD800]"};
    switch (Pick(6)) {
      case 0:
      case 1:
      case 2:
        return {std::u16string(1, kAlphabet[Pick(std::size(kAlphabet))]), false, true};
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

  Fragment Item(int depth) {
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

  Fragment Concat(int depth) {
    Fragment all{u"", true, true};
    const int count = 1 + Pick(3);
    for (int i = 0; i < count; ++i) {
      Fragment item = Item(depth);
      all.text += item.text;
      all.nullable = all.nullable && item.nullable;
    }
    return all;
  }

  Fragment Alternation(int depth) {
    Fragment all = Concat(depth);
    while (Pick(4) == 0) {
      Fragment branch = Concat(depth);
      all.text += u"|" + branch.text;
      all.nullable = all.nullable || branch.nullable;
    }
    return all;
  }

  std::mt19937 random_;  // the seeded source of every choice
  int groups_ = 0;       // capturing groups in the pattern so far
};

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct ContextDeleter {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

// Global scan through PCRE2 with the same empty-match advance as Regex::ReplaceAll.
std::string ReferenceScan(pcre2_code* code, std::u16string_view text, uint32_t groups) {
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(code, nullptr));
  std::string out;
  size_t at = 0;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  while (at <= text.size()) {
    const int rc = pcre2_match(code, subject, text.size(), at, 0, data.get(), nullptr);
    if (rc < 0) break;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    if (!out.empty()) out += ' ';
    out += SpanText(ovector[0], ovector[1]);
    if (groups > 0) {
      out += '(';
      for (uint32_t g = 1; g <= groups; ++g) {
        if (g > 1) out += ',';
        const bool set = static_cast<int>(g) < rc && ovector[2 * g] != PCRE2_UNSET;
        out += set ? SpanText(ovector[2 * g], ovector[2 * g + 1]) : "-";
      }
      out += ')';
    }
    at = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
  }
  return out;
}

TEST(RegexPcre2Test, GeneratedPatternsAgreeWithPcre2) {
  constexpr int kPatterns = 2500;
  constexpr int kTextsPerPattern = 12;
  std::mt19937 text_random(20240611);
  PatternGenerator generator(7);
  std::unique_ptr<pcre2_compile_context, ContextDeleter> context(
      pcre2_compile_context_create(nullptr));
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
  int failures = 0;
  int compared = 0;
  for (int p = 0; p < kPatterns && failures < 10; ++p) {
    const std::u16string pattern = generator.Next();
    std::vector<std::u16string> texts;
    for (int t = 0; t < kTextsPerPattern; ++t) {
      std::u16string text(std::uniform_int_distribution<int>(0, 8)(text_random), u'a');
      for (char16_t& c : text)
        c = kAlphabet[std::uniform_int_distribution<size_t>(0,
                                                            std::size(kAlphabet) - 1)(text_random)];
      texts.push_back(std::move(text));
    }
    for (int flags = 0; flags < 4; ++flags) {
      const RegexOptions options{.multi_line = (flags & 1) != 0, .ignore_case = (flags & 2) != 0};
      uint32_t pcre_options = PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX;
      if (options.multi_line) pcre_options |= PCRE2_MULTILINE;
      if (options.ignore_case) pcre_options |= PCRE2_CASELESS;
      int error = 0;
      PCRE2_SIZE error_offset = 0;
      std::unique_ptr<pcre2_code, CodeDeleter> code(
          pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), pcre_options,
                        &error, &error_offset, context.get()));
      ASSERT_NE(code, nullptr) << "PCRE2 refused " << Show(pattern);
      uint32_t groups = 0;
      pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);
      const Regex re(pattern, options);
      ASSERT_EQ(re.GroupCount(), groups) << Show(pattern);
      for (const std::u16string& text : texts) {
        const std::string expected = ReferenceScan(code.get(), text, groups);
        for (Engine engine : {Engine::kPikeVm, Engine::kBest}) {
          const std::string actual = Scan(re, text, engine);
          ++compared;
          if (actual != expected) {
            ++failures;
            ADD_FAILURE() << "pattern " << Show(pattern) << " flags " << flags << " text "
                          << Show(text) << "\n  ours:  " << actual << "\n  PCRE2: " << expected;
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
