// The command line's grammar, case by case.
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace veltrin::cli {
namespace {

using Sources = std::vector<std::u16string>;

TEST(ArgumentsTest, ReadsOptionsInAnyOrderAndBothForms) {
  const struct {
    std::vector<std::u16string> arguments;
    Sources sources;
    std::optional<std::u16string> blocked;
    std::optional<std::u16string> output;
  } cases[] = {
      {{u"extract", u"a.html"}, {u"a.html"}, std::nullopt, std::nullopt},
      {{u"extract", u"-"}, {u"-"}, std::nullopt, std::nullopt},
      {{u"extract", u"-o", u"out.txt", u"--blocked", u"w.txt", u"a"}, {u"a"}, u"w.txt", u"out.txt"},
      {{u"extract", u"a", u"--output=o=1.txt", u"--blocked=w"}, {u"a"}, u"w", u"o=1.txt"},
      // After "--" everything is a source, even what looks like an option.
      {{u"extract", u"--", u"--help"}, {u"--help"}, std::nullopt, std::nullopt},
      {{u"extract", u"-o", u"-", u"x"}, {u"x"}, std::nullopt, u"-"},
      // Sources keep their order wherever the options stand.
      {{u"extract", u"b", u"-o", u"x", u"a", u"-", u"c"},
       {u"b", u"a", u"-", u"c"},
       std::nullopt,
       u"x"},
  };
  for (const auto& c : cases) {
    const Arguments parsed = ParseArguments(c.arguments);
    EXPECT_EQ(parsed.command, Arguments::Command::kExtract);
    EXPECT_EQ(parsed.sources, c.sources);
    EXPECT_EQ(parsed.blocked, c.blocked);
    EXPECT_EQ(parsed.output, c.output);
  }
}

TEST(ArgumentsTest, ReadsJobsFolderAndCharset) {
  const Arguments a = ParseArguments(
      {u"extract", u"-j", u"3", u"--output-dir", u"out", u"--charset", u"GB2312", u"a", u"b"});
  EXPECT_EQ(a.jobs, 3u);
  EXPECT_EQ(a.output_dir, u"out");
  EXPECT_EQ(a.charset, u"GB2312");
  EXPECT_EQ(ParseArguments({u"extract", u"-j4", u"a"}).jobs, 4u);
  EXPECT_EQ(ParseArguments({u"extract", u"--jobs=64", u"a"}).jobs, 64u);
  EXPECT_EQ(ParseArguments({u"extract", u"--charset=auto", u"a"}).charset, u"auto");
  EXPECT_EQ(ParseArguments({u"extract", u"a"}).jobs, std::nullopt);
  EXPECT_FALSE(ParseArguments({u"extract", u"a"}).content_auto);
  EXPECT_TRUE(ParseArguments({u"extract", u"--content=auto", u"a"}).content_auto);
  EXPECT_FALSE(ParseArguments({u"extract", u"--content", u"paragraphs", u"a"}).content_auto);
  EXPECT_EQ(ParseArguments({u"book", u"--bogus"}).command, Arguments::Command::kBook);
}

TEST(ArgumentsTest, RefusesWhatTheGrammarDoesNot) {
  const std::vector<std::vector<std::u16string>> cases = {
      {u"extract", u"-j", u"65", u"a"},
      {u"extract", u"-j", u"x", u"a"},
      {u"extract", u"-j0", u"a"},
      {u"extract", u"-j", u"1", u"-j", u"2", u"a"},
      {u"extract", u"--jobs", u"99999999999", u"a"},
      {u"extract", u"--charset", u"", u"a"},
      {u"extract", u"--charset", u"ebcdic", u"a"},
      {u"extract", u"a", u"--output-dir"},
      {u"extract", u"-", u"x", u"-"},
      {u"extract", u"--output-dir=d", u"-o", u"f", u"a"},
      {u"extract", u"--content", u"br", u"a"},
      {u"extract", u"--content", u"auto", u"--content", u"auto", u"a"},
  };
  for (const auto& arguments : cases) EXPECT_THROW(ParseArguments(arguments), UsageError);
}

TEST(ArgumentsTest, HelpAndVersionWinOverTheRest) {
  EXPECT_EQ(ParseArguments({u"extract", u"--bogus", u"--help"}).command, Arguments::Command::kHelp);
  EXPECT_EQ(ParseArguments({u"--version", u"x"}).command, Arguments::Command::kVersion);
  EXPECT_EQ(ParseArguments({u"extract", u"--", u"--help", u"x"}).sources,
            (Sources{u"--help", u"x"}));
}

}  // namespace
}  // namespace veltrin::cli
