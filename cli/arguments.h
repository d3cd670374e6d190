// The command line's grammar: veltrin extract [options] SOURCE..., --help, --version.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace veltrin::cli {

// What the user asked for.
struct Arguments {
  enum class Command { kExtract, kBook, kHelp, kVersion };
  Command command = Command::kHelp;
  std::vector<std::u16string> sources;       // addresses, paths or "-", in order (extract only)
  std::optional<std::u16string> blocked;     // the word list file, when given
  std::optional<std::u16string> output;      // the one result file; standard output when absent
  std::optional<std::u16string> output_dir;  // the folder of one result file per source
  std::optional<unsigned> jobs;              // sources extracted at once; the cores when absent
  std::optional<std::u16string> charset;     // the page charset name or "auto"; UTF-8 when absent
  bool content_auto = false;                 // --content auto: a <br> block when no paragraphs
};

// A command line that does not follow the grammar; what() is one line (UTF-8) saying why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The most sources extracted at once.
inline constexpr unsigned kMaxJobs = 64;

// Parses the arguments after the program name. --help or --version anywhere wins over the rest.
// For the book command only the command is returned (book_arguments.h parses the rest).
// Throws UsageError for a missing or unknown command, an unknown or repeated option, an option
// without its value, no SOURCE, an empty SOURCE, "-" given twice, both -o and --output-dir, a
// job count that is not a number from 1 to kMaxJobs, and an unknown charset name.
Arguments ParseArguments(const std::vector<std::u16string>& arguments);

// Splits a long option written as "--name=value" into its name and value; any other argument is
// the name alone, its value (if it takes one) coming in the next argument.
std::pair<std::u16string, std::optional<std::u16string>> SplitOption(
    const std::u16string& argument);

// Returns the usage text shown by --help (UTF-8, LF line ends).
std::string HelpText();

}  // namespace veltrin::cli
