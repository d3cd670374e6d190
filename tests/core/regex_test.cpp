// Table tests of the regular-expression engine: every row runs through the Pike VM and through the
// fastest engine that applies, and both must give the expected global scan or replacement.
#include "core/regex/regex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/support/regex_scan.h"

namespace veltrin::regex {
namespace {

constexpr RegexOptions kPlain{};
constexpr RegexOptions kMulti{.multi_line = true, .ignore_case = false};
constexpr RegexOptions kCaseless{.multi_line = false, .ignore_case = true};
constexpr RegexOptions kPipeline = kMulti;

using test::Scan;
using test::Show;

struct ScanRow {
  const char16_t* pattern;  // the pattern
  const char16_t* text;     // the searched text
  RegexOptions options;     // flags
  const char* expected;     // every match of a global scan
};

void CheckScans(const std::vector<ScanRow>& rows) {
  for (const ScanRow& row : rows) {
    SCOPED_TRACE("pattern " + Show(row.pattern) + " on " + Show(row.text));
    const Regex re(row.pattern, row.options);
    EXPECT_EQ(Scan(re, row.text, Engine::kPikeVm), row.expected);
    EXPECT_EQ(Scan(re, row.text, Engine::kBest), row.expected);
    EXPECT_EQ(re.Find(row.text), *row.expected != '\0');
  }
}

struct ReplaceRow {
  const char16_t* pattern;      // the pattern
  RegexOptions options;         // flags
  const char16_t* text;         // the input
  const char16_t* replacement;  // the replacement template
  const char16_t* expected;     // the input with every match replaced
};

void CheckReplacements(const std::vector<ReplaceRow>& rows) {
  for (const ReplaceRow& row : rows) {
    SCOPED_TRACE("pattern " + Show(row.pattern) + " on " + Show(row.text));
    const Regex re(row.pattern, row.options);
    EXPECT_EQ(Show(re.ReplaceAll(row.text, row.replacement, Engine::kPikeVm)), Show(row.expected));
    EXPECT_EQ(Show(re.ReplaceAll(row.text, row.replacement)), Show(row.expected));
  }
}

TEST(RegexTest, Literals) {
  CheckScans({
      {u"abc", u"xabcabc", kPlain, "1-4 4-7"},
      {u"abc", u"ab", kPlain, ""},
      {u"a\\.c", u"abc a.c", kPlain, "4-7"},
      {u"\\x41\\u00e9", u"A\u00e9", kPlain, "0-2"},
      {u"\\n\\r\\t\\f\\v\\a\\e", u"x\n\r\t\f\v\a\x1B", kPlain, "1-8"},
      {u"a\\0b", std::u16string(u"a\0b", 3).c_str(), kPlain, ""},  // c_str stops at the NUL
      {u"\\cJ", u"a\nb", kPlain, "1-2"},
      {u"\\(\\)\\[\\]\\{\\}\\*\\+\\?\\|\\^\\$\\\\\\.\\/", u"()[]{}*+?|^$\\./", kPlain, "0-15"},
      {u"a{,2}}", u"a{,2}}", kPlain, "0-6"},
      {u"x{a}]", u"x{a}]", kPlain, "0-5"},
  });
  const Regex nul(u"a\\0b");
  EXPECT_TRUE(nul.Find(std::u16string(u"xa\0b", 4)));
}

TEST(RegexTest, Classes) {
  CheckScans({
      {u"[a-c]+", u"xabcdx", kPlain, "1-4"},
      {u"[^a-c]", u"abz", kPlain, "2-3"},
      {u"[^a]", u"a\n", kPlain, "1-2"},
      {u"[\\d_]+", u"a1_2b", kPlain, "1-4"},
      {u"\\d+", u"a12b3", kPlain, "1-3 4-5"},
      {u"\\D", u"12a", kPlain, "2-3"},
      {u"\\w+", u"hi there_1", kPlain, "0-2 3-10"},
      {u"\\W", u"a b\u00e9", kPlain, "1-2 3-4"},
      {u"\\s+", u"a \t\r\n\v\fb", kPlain, "1-7"},
      {u"\\S+", u"a\u00a0 b", kPlain, "0-2 3-4"},
      {u"[]a]+", u"]a]", kPlain, "0-3"},
      {u"[a-]+", u"-a-", kPlain, "0-3"},
      {u"[\\]\\-]+", u"]-", kPlain, "0-2"},
      {u"[\\b]", u"a\bb", kPlain, "1-2"},
      {u"[\\x41-\\x43\\n]+", u"ABC\nD", kPlain, "0-4"},
      {u".", u"a\nb\rc", kPlain, "0-1 2-3 3-4 4-5"},
      {u"[.]", u"a.", kPlain, "1-2"},
  });
}

TEST(RegexTest, AnchorsAndMultiLine) {
  CheckScans({
      {u"^a", u"a\na", kPlain, "0-1"},
      {u"^a", u"a\na", kMulti, "0-1 2-3"},
      {u"a$", u"a\na", kPlain, "2-3"},
      {u"a$", u"a\na", kMulti, "0-1 2-3"},
      {u"$", u"a\n", kPlain, "2-2"},
      {u"$", u"a\n", kMulti, "1-1 2-2"},
      {u"^", u"a\n", kMulti, "0-0 2-2"},
      {u"^$", u"a\n\nb", kMulti, "2-2"},
      {u"^b", u"a\r\nb", kMulti, "3-4"},
      {u"a$", u"a\r\nb", kMulti, ""},  // CR is an ordinary unit: $ waits for the LF
      {u"a\\r$", u"a\r\nb", kMulti, "0-2"},
      {u"\\Aa", u"a\na", kMulti, "0-1"},
      {u"a\\z", u"a\na", kMulti, "2-3"},
      {u"\\bfoo\\b", u"foo food foo", kPlain, "0-3 9-12"},
      {u"\\B", u"ab", kPlain, "1-1"},
      {u"\\b", u"", kPlain, ""},
  });
  // A search that starts late still sees the units before its start.
  ScratchSpace scratch;
  Match match;
  EXPECT_TRUE(Regex(u"^b", kMulti).Search(u"a\nb", 2, match, scratch));
  EXPECT_FALSE(Regex(u"^b").Search(u"a\nb", 2, match, scratch));
  EXPECT_FALSE(Regex(u"\\bb").Search(u"ab", 1, match, scratch));
  EXPECT_FALSE(Regex(u"a").Search(u"a", 2, match, scratch));
}

TEST(RegexTest, Quantifiers) {
  CheckScans({
      {u"a*", u"aab", kPlain, "0-2 2-2 3-3"},
      {u"a*?", u"aa", kPlain, "0-0 1-1 2-2"},
      {u"a+", u"aaba", kPlain, "0-2 3-4"},
      {u"a+?", u"aaa", kPlain, "0-1 1-2 2-3"},
      {u"a??b", u"ab", kPlain, "0-2"},
      {u"a{2}", u"aaaaa", kPlain, "0-2 2-4"},
      {u"a{2,}", u"aaaaa", kPlain, "0-5"},
      {u"a{2,3}", u"aaaaa", kPlain, "0-3 3-5"},
      {u"a{2,3}?", u"aaaaa", kPlain, "0-2 2-4"},
      {u"a{0}b", u"ab", kPlain, "1-2"},
      {u"x{1,2}?y", u"xxy", kPlain, "0-3"},
      {u"<.*>", u"<a><b>", kPlain, "0-6"},
      {u"<.*?>", u"<a><b>", kPlain, "0-3 3-6"},
      {u"a.*?b", u"a\nab", kPlain, "2-4"},
      {u"(?:ab){2}", u"abababab", kPlain, "0-4 4-8"},
  });
}

TEST(RegexTest, AlternationPriority) {
  CheckScans({
      {u"a|ab", u"ab", kPlain, "0-1"},
      {u"ab|a", u"ab", kPlain, "0-2"},
      {u"(a|ab)(c|bcd)", u"abcd", kPlain, "0-4(0-1,1-4)"},
      {u"|a", u"a", kPlain, "0-0 1-1"},
      {u"b|", u"ab", kPlain, "0-0 1-2 2-2"},
      {u"x|y|z", u"zyx", kPlain, "0-1 1-2 2-3"},
  });
}

TEST(RegexTest, GroupsAndCaptures) {
  CheckScans({
      {u"(a)(b)?", u"a", kPlain, "0-1(0-1,-)"},
      {u"(a)|b", u"b", kPlain, "0-1(-)"},
      {u"(?:ab)+", u"ababa", kPlain, "0-4"},
      {u"(a|b)*", u"abb", kPlain, "0-3(2-3) 3-3(-)"},
      {u"((a)b)+", u"abab", kPlain, "0-4(2-4,2-3)"},
      {u"(a*)b", u"aab", kPlain, "0-3(0-2)"},
      {u"(a*?)(a*)", u"aa", kPlain, "0-2(0-0,0-2) 2-2(2-2,2-2)"},
      {u"(?:(a)|b)+", u"ab", kPlain, "0-2(0-1)"},
      {u"(a)(?:(b)|c)(d)", u"acd", kPlain, "0-3(0-1,-,2-3)"},
  });
}

TEST(RegexTest, IgnoreCase) {
  CheckScans({
      {u"abc", u"xAbC", kCaseless, "1-4"},
      {u"abc", u"xAbC", kPlain, ""},
      {u"[a-c]+", u"ABCd", kCaseless, "0-3"},
      {u"[^a]", u"Ab", kCaseless, "1-2"},
      {u"\u00e9", u"\u00c9", kCaseless, "0-1"},
      {u"\u03c3", u"\u03a3\u03c2", kCaseless, "0-1 1-2"},
      {u"\u0434", u"\u0414\u0404", kCaseless, "0-1"},
      {u"\u0454", u"\u0404", kCaseless, "0-1"},
      {u"k", u"\u212a", kCaseless, "0-1"},
      {u"\u00df", u"\u1e9e", kCaseless, "0-1"},
      {u"\u00ff", u"\u0178", kCaseless, "0-1"},
      {u"\uff41", u"\uff21", kCaseless, "0-1"},
      {u"\\w", u"\u212a", kCaseless, ""},  // \w stays ASCII
      {u"[\\W]", u"k", kCaseless, ""},     // class escapes are not closed over case
      {u"\u4e2d", u"\u4e2d", kCaseless, "0-1"},
  });
}

TEST(RegexTest, Surrogates) {
  CheckScans({
      {u"\\uD800", u"a\xD800z", kPlain, "1-2"},
      {u".", u"\U0001F600", kPlain, "0-1 1-2"},
      {u"[\\uD800-\\uDBFF][\\uDC00-\\uDFFF]", u"a\U0001F600", kPlain, "1-3"},
      {u"[^\\uDC00-\\uDFFF]+", u"\xD83D\xDE00\xDC00", kPlain, "0-1"},
  });
}

TEST(RegexTest, PipelinePatterns) {
  CheckReplacements({
      {u"<p.*?>", kPipeline, u"<p class=\"a\">Hi</p>\r\n<pre>x\r\n", u"", u"Hi</p>\r\nx\r\n"},
      {u"<p.*?>", kPipeline, u"<p\nclass>x", u"", u"<p\nclass>x"},
      {u"<p.*?>", kPipeline, u"<p<p>z", u"", u"z"},
      {u"<p.*?>", kPipeline, u"<p\n<p>", u"", u"<p\n"},
      {u"</.*?>", kPipeline, u"Hi</p></div>\r\nx</", u"", u"Hi\r\nx</"},
      {u".*?>", kPipeline, u"a<b>c>d\r\nno tag\r\n<x>y", u"", u"d\r\nno tag\r\ny"},
      {u".*?>", kPipeline, u"a>b\nc\nd>e", u"", u"b\nc\ne"},
      {u".*?>", kPipeline, u"a\rb>c", u"", u"c"},
      {u".*?>", kPipeline, u">>", u"", u""},
      {u".*?>", kPipeline, u"", u"", u""},
      {u".*?>", kPipeline, u"\n\n>", u"-", u"\n\n-"},
  });
}

TEST(RegexTest, EmptyMatchesInGlobalReplace) {
  CheckReplacements({
      {u"x*", kPlain, u"abc", u"-", u"-a-b-c-"},
      {u"a*", kPlain, u"baaac", u"-", u"-b--c-"},
      {u"\\b", kPlain, u"ab cd", u"|", u"|ab| |cd|"},
      {u"", kPlain, u"ab", u"-", u"-a-b-"},
      {u"", kPlain, u"", u"x", u"x"},
      {u"$", kMulti, u"a\nb", u"!", u"a!\nb!"},
      {u"a|", kPlain, u"\U0001F600", u"-", u"-\xD83D-\xDE00-"},
  });
}

TEST(RegexTest, ReplacementEscapes) {
  CheckReplacements({
      {u"(a)(b)?", kPlain, u"ac", u"[$1|$2|$&|$$|$3|$0|$x|$]", u"[a||a|$||$0|$x|$]c"},
      {u"b", kPlain, u"abc", u"$$$&", u"a$bc"},
      {u"(\\w+) (\\w+)", kPlain, u"hello world", u"$2 $1", u"world hello"},
      {u"a", kPlain, u"a", u"x$", u"x$"},
      {u"a", kPlain, u"aa", u"$$1", u"$1$1"},
      {u"nothing", kPlain, u"text", u"$&", u"text"},
  });
}

TEST(RegexTest, ErrorsNameThePosition) {
  struct ErrorRow {
    const char16_t* pattern;  // a pattern that must not compile
    size_t position;          // where the fault is
  };
  const std::u16string deep = std::u16string(300, u'(') + std::u16string(300, u')');
  const std::vector<ErrorRow> rows = {
      {u"(ab", 0},
      {u"a)", 1},
      {u"*a", 0},
      {u"a**", 2},
      {u"a{2}{3}", 4},
      {u"[b-a]", 1},
      {u"[abc", 0},
      {u"\\1", 0},
      {u"(a)\\1", 3},
      {u"(?=a)", 0},
      {u"(?!a)", 0},
      {u"a(?<!a)", 1},
      {u"(?<n>a)", 0},
      {u"a{3,2}", 1},
      {u"a{1001}", 1},
      {u"\\xZZ", 0},
      {u"\\u12", 0},
      {u"abc\\", 3},
      {u"\\q", 0},
      {u"[\\d-z]", 1},
      {u"^*", 1},
      {u"a|+", 2},
      {u"(?", 0},
      {u"[\\k]", 1},
      {u"x{1000}{1000}", 7},
      {u"(?:a{1000}){1000}", 3},
      {deep.c_str(), 251},
  };
  for (const ErrorRow& row : rows) {
    SCOPED_TRACE("pattern " + Show(row.pattern));
    try {
      Regex re(row.pattern);
      ADD_FAILURE() << "compiled";
    } catch (const RegexError& error) {
      EXPECT_EQ(error.Position(), row.position) << error.what();
      EXPECT_NE(std::string(error.what()).find("position " + std::to_string(row.position)),
                std::string::npos);
    }
  }
  // Large but legal repetition compiles.
  EXPECT_NO_THROW(Regex(u"a{1000}b{0,1000}"));
}

TEST(RegexTest, ScratchSpaceIsReusableAcrossPatterns) {
  ScratchSpace scratch;
  Match match;
  const Regex small(u"b");
  const Regex large(u"(a)(b)(c)");
  ASSERT_TRUE(large.Search(u"xabc", 0, match, scratch));
  EXPECT_EQ(match.GroupStart(3), 3u);
  ASSERT_TRUE(small.Search(u"ab", 0, match, scratch));
  EXPECT_EQ(match.Start(), 1u);
  ASSERT_TRUE(large.Search(u"abc", 0, match, scratch));
  EXPECT_EQ(match.Group(u"abc", 2), u"b");
}

// Rows that once went wrong.
TEST(RegexTest, PastBugs) {
  CheckScans({
      // The prefilter must not skip a start whose first unit the literal prefix does not cover.
      {u"ab|b", u"xb", kPlain, "1-2"},
  });
}

}  // namespace
}  // namespace veltrin::regex
