// Parsing of the book command's arguments.
#include "cli/book_arguments.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "cli/arguments.h"
#include "core/charset.h"
#include "core/regex/regex.h"
#include "core/utf8.h"

namespace veltrin::cli {

namespace {

[[noreturn]] void Fail(const std::string& message) {
  throw UsageError(message);
}

// Reads a decimal count from `low` to `high` for the named option.
unsigned ParseCount(const std::u16string& text, std::string_view name, unsigned low,
                    unsigned high) {
  unsigned long long value = 0;
  bool valid = !text.empty() && text.size() <= 9;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') valid = false;
    value = value * 10 + static_cast<unsigned>(unit - u'0');
  }
  if (!valid || value < low || value > high) {
    Fail("option " + std::string(name) + " needs a number from " + std::to_string(low) + " to " +
         std::to_string(high) + ", not '" + TextToUtf8(text) + "'");
  }
  return static_cast<unsigned>(value);
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char16_t unit = text[i];
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit != suffix[i]) return false;
  }
  return true;
}

}  // namespace

BookArguments ParseBookArguments(const std::vector<std::u16string>& arguments) {
  BookArguments result;
  std::vector<std::u16string> tocs;
  std::optional<std::u16string> jobs, per_host, delay, content, format;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (options_ended || !argument.starts_with(u"-") || argument == u"-") {
      tocs.push_back(argument);
      continue;
    }
    if (argument == u"--") {
      options_ended = true;
      continue;
    }
    if (argument == u"--list" || argument == u"--partial" || argument == u"-q" ||
        argument == u"--quiet") {
      bool& flag = argument == u"--list"      ? result.list
                   : argument == u"--partial" ? result.partial
                                              : result.quiet;
      if (flag) Fail("option " + TextToUtf8(argument) + " given twice");
      flag = true;
      continue;
    }
    auto split = SplitOption(argument);  // not a structured binding: the lambda below reads it
    std::u16string& name = split.first;
    std::optional<std::u16string>& value = split.second;
    const struct {
      std::u16string_view name;
      std::optional<std::u16string>* slot;
      const char* needs;
    } kOptions[] = {
        {u"-o", &result.output, "a file name"},
        {u"--output", &result.output, "a file name"},
        {u"--links", &result.links, "a regular expression"},
        {u"--blocked", &result.blocked, "a file name"},
        {u"--charset", &result.charset, "a charset name"},
        {u"--content", &content, "'auto' or 'paragraphs'"},
        {u"-j", &jobs, "a number of chapters"},
        {u"--jobs", &jobs, "a number of chapters"},
        {u"--per-host", &per_host, "a number of connections"},
        {u"--delay", &delay, "a number of milliseconds"},
        {u"--format", &format, "'txt' or 'epub'"},
        {u"--title", &result.title, "a title"},
    };
    const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&](const auto& entry) { return entry.name == name; });
    if (option == std::end(kOptions)) {
      if (argument.size() > 2 && argument.starts_with(u"-j")) {  // -j8
        name = u"-j";
        value = argument.substr(2);
        option = &kOptions[6];
      } else {
        Fail("unknown option '" + TextToUtf8(argument) + "'");
      }
    }
    if (!value) {
      if (i + 1 >= arguments.size()) {
        Fail("option " + TextToUtf8(name) + " needs " + option->needs);
      }
      value = arguments[++i];
    }
    if (value->empty()) Fail("option " + TextToUtf8(name) + " needs " + option->needs);
    if (option->slot->has_value()) Fail("option " + TextToUtf8(name) + " given twice");
    *option->slot = std::move(*value);
  }
  if (tocs.empty()) Fail("no TOC given");
  if (tocs.size() > 1) Fail("more than one TOC given ('" + TextToUtf8(tocs[1]) + "')");
  if (tocs.front().empty() || tocs.front() == u"-") Fail("the TOC must be an address or a file");
  result.toc = tocs.front();
  if (!result.output && !result.list) Fail("no book file given (-o BOOK)");
  if (jobs) result.jobs = ParseCount(*jobs, "-j", 1, kMaxJobs);
  if (per_host) result.per_host = ParseCount(*per_host, "--per-host", 1, kMaxJobs);
  if (delay) result.delay_ms = ParseCount(*delay, "--delay", 0, 600000);
  if (content) {
    if (*content != u"auto" && *content != u"paragraphs") {
      Fail("option --content needs 'auto' or 'paragraphs', not '" + TextToUtf8(*content) + "'");
    }
    result.content_auto = *content == u"auto";
  }
  if (format) {
    if (*format != u"txt" && *format != u"epub") {
      Fail("option --format needs 'txt' or 'epub', not '" + TextToUtf8(*format) + "'");
    }
    result.format =
        *format == u"epub" ? BookArguments::Format::kEpub : BookArguments::Format::kText;
  }
  if (result.charset && *result.charset == u"auto") result.charset.reset();
  if (result.charset && !FindCharset(TextToUtf8(*result.charset))) {
    Fail("unknown charset '" + TextToUtf8(*result.charset) + "'");
  }
  if (result.links) {
    try {
      regex::Regex check(*result.links);
    } catch (const RegexError& error) {
      Fail("option --links: " + std::string(error.what()));
    }
  }
  return result;
}

BookArguments::Format BookFormat(const BookArguments& arguments) {
  if (arguments.format) return *arguments.format;
  return arguments.output && EndsWithNoCase(*arguments.output, u".epub")
             ? BookArguments::Format::kEpub
             : BookArguments::Format::kText;
}

}  // namespace veltrin::cli
