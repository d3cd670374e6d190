// The command line's grammar: veltrin extract [--blocked FILE] [-o FILE] SOURCE, --help, --version.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrin::cli {

// What the user asked for.
struct Arguments {
  enum class Command { kExtract, kHelp, kVersion };
  Command command = Command::kHelp;
  std::u16string source;                  // address, path or "-" (extract only)
  std::optional<std::u16string> blocked;  // the word list file, when given
  std::optional<std::u16string> output;   // the result file; standard output when absent
};

// A command line that does not follow the grammar; what() is one line (UTF-8) saying why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. --help or --version anywhere wins over the rest.
// Throws UsageError for a missing or unknown command, an unknown or repeated option, an option
// without its value, and anything but exactly one SOURCE.
Arguments ParseArguments(const std::vector<std::u16string>& arguments);

// Returns the usage text shown by --help (UTF-8, LF line ends).
std::string HelpText();

}  // namespace veltrin::cli
