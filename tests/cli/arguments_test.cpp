// The command line's grammar, case by case.
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace veltrin::cli {
namespace {

TEST(ArgumentsTest, ReadsOptionsInAnyOrderAndBothForms) {
  const struct {
    std::vector<std::u16string> arguments;
    std::u16string source;
    std::optional<std::u16string> blocked;
    std::optional<std::u16string> output;
  } cases[] = {
      {{u"extract", u"a.html"}, u"a.html", std::nullopt, std::nullopt},
      {{u"extract", u"-"}, u"-", std::nullopt, std::nullopt},
      {{u"extract", u"-o", u"out.txt", u"--blocked", u"w.txt", u"a"}, u"a", u"w.txt", u"out.txt"},
      {{u"extract", u"a", u"--output=o=1.txt", u"--blocked=w"}, u"a", u"w", u"o=1.txt"},
      // After "--" everything is the source, even what looks like an option.
      {{u"extract", u"--", u"--help"}, u"--help", std::nullopt, std::nullopt},
      {{u"extract", u"-o", u"-", u"x"}, u"x", std::nullopt, u"-"},
  };
  for (const auto& c : cases) {
    const Arguments parsed = ParseArguments(c.arguments);
    EXPECT_EQ(parsed.command, Arguments::Command::kExtract);
    EXPECT_EQ(parsed.source, c.source);
    EXPECT_EQ(parsed.blocked, c.blocked);
    EXPECT_EQ(parsed.output, c.output);
  }
}

TEST(ArgumentsTest, HelpAndVersionWinOverTheRest) {
  EXPECT_EQ(ParseArguments({u"extract", u"--bogus", u"--help"}).command, Arguments::Command::kHelp);
  EXPECT_EQ(ParseArguments({u"--version", u"x"}).command, Arguments::Command::kVersion);
  EXPECT_THROW(ParseArguments({u"extract", u"--", u"--help", u"x"}), UsageError);
}

}  // namespace
}  // namespace veltrin::cli
