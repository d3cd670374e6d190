// Parsing of the command line's arguments.
#include "cli/arguments.h"

#include <string_view>

#include "app/core/utf8.h"

namespace veltrin::cli {

namespace {

[[noreturn]] void Fail(const std::string& message) {
  throw UsageError(message);
}

// Stores an option's value, refusing a second one.
void SetOnce(std::optional<std::u16string>* slot, std::u16string value, std::string_view name) {
  if (slot->has_value()) Fail("option " + std::string(name) + " given twice");
  *slot = std::move(value);
}

}  // namespace

Arguments ParseArguments(const std::vector<std::u16string>& arguments) {
  Arguments result;
  for (const std::u16string& argument : arguments) {
    if (argument == u"--") break;  // after it even "--help" is a file name
    if (argument == u"--help" || argument == u"-h") return result;
    if (argument == u"--version") {
      result.command = Arguments::Command::kVersion;
      return result;
    }
  }
  if (arguments.empty()) Fail("no command given");
  if (arguments.front() != u"extract") {
    Fail("unknown command '" + TextToUtf8(arguments.front()) + "' (the command is 'extract')");
  }
  result.command = Arguments::Command::kExtract;

  std::vector<std::u16string> sources;
  bool options_ended = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (options_ended || argument == u"-" || !argument.starts_with(u"-")) {
      sources.push_back(argument);
      continue;
    }
    if (argument == u"--") {
      options_ended = true;
      continue;
    }
    // Each option takes a value, either in the next argument or after "=" (long forms).
    std::u16string name = argument;
    std::optional<std::u16string> value;
    if (const std::size_t equals = argument.find(u'=');
        argument.starts_with(u"--") && equals != std::u16string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    std::optional<std::u16string>* slot = nullptr;
    if (name == u"--blocked") {
      slot = &result.blocked;
    } else if (name == u"-o" || name == u"--output") {
      slot = &result.output;
    } else {
      Fail("unknown option '" + TextToUtf8(argument) + "'");
    }
    if (!value) {
      if (i + 1 >= arguments.size()) Fail("option " + TextToUtf8(name) + " needs a file name");
      value = arguments[++i];
    }
    if (value->empty()) Fail("option " + TextToUtf8(name) + " needs a file name");
    SetOnce(slot, std::move(*value), TextToUtf8(name));
  }
  if (sources.empty()) Fail("no SOURCE given");
  if (sources.size() > 1) Fail("more than one SOURCE given");
  if (sources.front().empty()) Fail("the SOURCE is empty");
  result.source = std::move(sources.front());
  return result;
}

std::string HelpText() {
  return "Usage: veltrin extract [--blocked FILE] [-o FILE] SOURCE\n"
         "       veltrin --help | --version\n"
         "\n"
         "Extracts the readable paragraph text of a web page.\n"
         "\n"
         "SOURCE is an http:// or https:// address, a local HTML file (UTF-8), or - for\n"
         "standard input.\n"
         "\n"
         "Options:\n"
         "  --blocked FILE   delete every word of FILE (UTF-8, one word per line) from the result\n"
         "  -o, --output FILE\n"
         "                   write the result to FILE instead of standard output\n"
         "  -h, --help       show this text\n"
         "  --version        show the version\n"
         "\n"
         "The result is UTF-8 text with CR LF line breaks.\n"
         "\n"
         "Exit status:\n"
         "  0  a result was produced (it may be empty)\n"
         "  1  the page holds no paragraph text (no line break at all)\n"
         "  2  the command line is wrong\n"
         "  3  the SOURCE or the word list cannot be read or downloaded\n"
         "  4  the result cannot be written\n";
}

}  // namespace veltrin::cli
